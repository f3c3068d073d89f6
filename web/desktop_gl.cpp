// The desktop renderer's fixed-function GL, which WebGL 2 does not have.
// The shared draw code still names these entry points, so the page defines
// them; the page's renderer never reaches them, and if one were reached the
// page stops with its name rather than draw something else.
#include <GL/gl.h>
#include <emscripten.h>

#include <cstdlib>

namespace {

[[noreturn]] void unavailable(const char* name) {
    emscripten_log(EM_LOG_ERROR, "vortel: %s is desktop GL only; the page never draws with it", name);
    std::abort();
}

}  // namespace

#define VORTEL_DESKTOP_ONLY(name, params) \
    extern "C" void GLAPIENTRY name params { unavailable(#name); }

VORTEL_DESKTOP_ONLY(glColor3f, (GLfloat, GLfloat, GLfloat))
VORTEL_DESKTOP_ONLY(glColor3ub, (GLubyte, GLubyte, GLubyte))
VORTEL_DESKTOP_ONLY(glColor4f, (GLfloat, GLfloat, GLfloat, GLfloat))
VORTEL_DESKTOP_ONLY(glColorPointer, (GLint, GLenum, GLsizei, const GLvoid*))
VORTEL_DESKTOP_ONLY(glDisableClientState, (GLenum))
VORTEL_DESKTOP_ONLY(glEnableClientState, (GLenum))
VORTEL_DESKTOP_ONLY(glEnd, (void))
VORTEL_DESKTOP_ONLY(glLoadMatrixd, (const GLdouble*))
VORTEL_DESKTOP_ONLY(glLoadMatrixf, (const GLfloat*))
VORTEL_DESKTOP_ONLY(glMultMatrixf, (const GLfloat*))
VORTEL_DESKTOP_ONLY(glNormal3f, (GLfloat, GLfloat, GLfloat))
VORTEL_DESKTOP_ONLY(glNormalPointer, (GLenum, GLsizei, const GLvoid*))
VORTEL_DESKTOP_ONLY(glPopMatrix, (void))
VORTEL_DESKTOP_ONLY(glPushMatrix, (void))
VORTEL_DESKTOP_ONLY(glTexCoord2f, (GLfloat, GLfloat))
VORTEL_DESKTOP_ONLY(glTexCoord2s, (GLshort, GLshort))
VORTEL_DESKTOP_ONLY(glTexCoordPointer, (GLint, GLenum, GLsizei, const GLvoid*))
VORTEL_DESKTOP_ONLY(glTexEnvi, (GLenum, GLenum, GLint))
VORTEL_DESKTOP_ONLY(glVertex2s, (GLshort, GLshort))
VORTEL_DESKTOP_ONLY(glVertex3f, (GLfloat, GLfloat, GLfloat))
