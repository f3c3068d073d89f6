#include "gfx/gpu_programs.h"

#include <cstdio>

#include "gfx/gl_api.h"
#include "gfx/glsl_programs.h"

namespace vortel {

namespace {

// GL's message on one line: line breaks become blanks, trailing blanks go.
std::string oneLine(const char* text) {
    std::string line = text ? text : "";
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line.empty() ? "no message" : line;
}

}  // namespace

uint32_t compileGpuProgram(const char* label, uint32_t target, std::string_view text, std::string* error) {
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenProgramsARB(1, &name);
    glBindProgramARB(target, name);
    glProgramStringARB(target, GL_PROGRAM_FORMAT_ASCII_ARB, static_cast<GLsizei>(text.size()), text.data());
    GLint position = -1;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &position);
    GLenum glError = glGetError();
    while (glGetError() != GL_NO_ERROR) {
    }
    if (position != -1 || glError != GL_NO_ERROR) {
        if (error) {
            *error = std::string("GPU program ") + label + " does not compile: error at position " +
                     std::to_string(position) + ": " +
                     oneLine(reinterpret_cast<const char*>(glGetString(GL_PROGRAM_ERROR_STRING_ARB)));
        }
    } else if (error) {
        error->clear();
    }
    return name;
}

bool compileGpuPrograms(const GpuProgramSource* sources, int count, uint32_t* names) {
    if (!glApiLoaded()) {
        std::fprintf(stderr, "vortel: GPU programs not created: the OpenGL entry points are not loaded\n");
        return false;
    }
    bool allCompiled = true;
    for (int i = 0; i < count; ++i) {
        std::string error;
        names[i] = compileGpuProgram(sources[i].name, sources[i].target, sources[i].text, &error);
        if (!error.empty()) {
            std::fprintf(stderr, "vortel: %s\n", error.c_str());
            allCompiled = false;
        }
    }
    return allCompiled;
}

bool createGpuPrograms(GpuResources& gpu) {
    if (gpu.renderer == Renderer::Glsl) return createGlslObjects(gpu);
    GpuProgramSource sources[kGpuProgramCount];
    for (int i = 0; i < kGpuProgramCount; ++i) sources[i] = gpuProgramSource(static_cast<GpuProgramId>(i));
    return compileGpuPrograms(sources, kGpuProgramCount, gpu.programs.data());
}

void deleteGpuPrograms(GpuResources& gpu) {
    if (gpu.renderer == Renderer::Glsl) return deleteGlslObjects(gpu);
    if (glApiLoaded()) glDeleteProgramsARB(kGpuProgramCount, gpu.programs.data());
    gpu.programs.fill(0);
}

uint32_t gpuProgram(const GpuResources& gpu, GpuProgramId id) { return gpu.programs[static_cast<size_t>(id)]; }

void enableGpuPrograms(const GpuResources& gpu, GpuProgramId vertex, GpuProgramId fragment) {
    glEnable(GL_VERTEX_PROGRAM_ARB);
    glEnable(GL_FRAGMENT_PROGRAM_ARB);
    glBindProgramARB(GL_VERTEX_PROGRAM_ARB, gpuProgram(gpu, vertex));
    glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, gpuProgram(gpu, fragment));
}

void disableGpuPrograms() {
    glDisable(GL_VERTEX_PROGRAM_ARB);
    glDisable(GL_FRAGMENT_PROGRAM_ARB);
}

void uploadLightPosition(const Vec4& p) {
    const float v[4] = {p.x, p.y, p.z, p.w};
    glProgramEnvParameter4fvARB(GL_VERTEX_PROGRAM_ARB, 0, v);
}

void uploadSurfaceParameters(const SurfaceSettings& s) {
    const Vec4* params[3] = {&s.specularColour, &s.specularParams, &s.surfaceParams};
    for (int i = 0; i < 3; ++i) {
        const float v[4] = {params[i]->x, params[i]->y, params[i]->z, params[i]->w};
        glProgramEnvParameter4fvARB(GL_FRAGMENT_PROGRAM_ARB, static_cast<GLuint>(i + 1), v);
    }
}

}  // namespace vortel
