// The GLSL programs on a core profile context: each one compiles and links
// both as GLSL 3.30 (the desktop) and as GLSL ES 3.00 (OpenGL ES 3.0 and
// WebGL 2, which Mesa's core contexts also compile), and a text that does
// not compile is refused with the stage and the compiler's line.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <string>

#include "gfx/gl_api.h"
#include "gfx/glsl_api.h"
#include "gfx/glsl_programs.h"

namespace vortel {
namespace {

class GlslPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_ResetAttributes();
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        window_ = SDL_CreateWindow("vortel glsl test", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window_, nullptr) << SDL_GetError();
        context_ = SDL_GL_CreateContext(window_);
        ASSERT_NE(context_, nullptr) << SDL_GetError();
        std::string error;
        ASSERT_TRUE(loadGlApi(Renderer::Glsl, &SDL_GL_GetProcAddress, &error)) << error;
    }
    void TearDown() override {
        clearGlApi();
        if (context_) SDL_GL_DeleteContext(context_);
        if (window_) SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
};

TEST_F(GlslPrograms, EveryProgramBuildsInBothDialects) {
    for (bool es : {false, true}) {
        for (int i = 0; i < kGlslProgramCount; ++i) {
            const GlslProgramSource& source = glslProgramSource(static_cast<GlslProgramId>(i));
            std::string error = "not built";
            const GlslProgramObject p = buildGlslProgram(source, glslVersionHeader(es), &error);
            EXPECT_NE(p.name, 0u) << source.name << (es ? " (ES): " : ": ") << error;
            EXPECT_EQ(error, "") << source.name;
            // Every program takes its matrices.
            EXPECT_GE(p.uniforms[static_cast<size_t>(GlslUniform::Mvp)], 0) << source.name;
            if (p.name) glDeleteProgram(p.name);
        }
    }
    const GlslProgramSource broken{"Broken", glslProgramSource(GlslProgramId::Fixed).vertex, "void main() { o = 1; }"};
    std::string error;
    EXPECT_EQ(buildGlslProgram(broken, glslVersionHeader(false), &error).name, 0u);
    EXPECT_NE(error.find("GLSL program Broken: the fragment shader does not compile: "), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
}

}  // namespace
}  // namespace vortel
