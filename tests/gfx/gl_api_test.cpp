// The entry-point loader: whole-name extension matching, the message for a
// missing extension or entry point, and a real load in the headless context.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "gfx/gl_api.h"
#include "support/gl_test_support.h"

namespace vortel {
namespace {

TEST(GlApi, ExtensionNamesMatchWhole) {
    const char* list = "GL_ARB_multitexture GL_ARB_vertex_program2 GL_EXT_foo  GL_ARB_fragment_program ";
    EXPECT_TRUE(extensionListed(list, "GL_ARB_multitexture"));
    EXPECT_TRUE(extensionListed(list, "GL_ARB_fragment_program"));
    EXPECT_TRUE(extensionListed(list, "GL_EXT_foo"));
    EXPECT_FALSE(extensionListed(list, "GL_ARB_vertex_program"));  // only ..._program2 is there
    EXPECT_FALSE(extensionListed(list, "GL_ARB_multi"));
    EXPECT_FALSE(extensionListed(list, ""));
    EXPECT_FALSE(extensionListed(nullptr, "GL_EXT_foo"));
    EXPECT_FALSE(extensionListed("", "GL_EXT_foo"));
}

// A fake GL: every extension but `missingExtension`, every entry point but
// `missingEntry`, each at a distinct non-null address.
const char* missingExtension = nullptr;
const char* missingEntry = nullptr;
std::set<std::string> requested;
char addresses[64];

void* fakeProc(const char* name) {
    requested.insert(name);
    if (missingEntry && std::strcmp(name, missingEntry) == 0) return nullptr;
    return &addresses[requested.size() % sizeof addresses];
}
bool fakeHas(const char* name) { return !(missingExtension && std::strcmp(name, missingExtension) == 0); }

TEST(GlApi, MissingPiecesStopTheLoadWithOneLineNamingThem) {
    GlLoaderHooks hooks{fakeProc, fakeHas};

    missingExtension = nullptr;
    missingEntry = nullptr;
    std::string error = "untouched";
    ASSERT_TRUE(loadGlApi(hooks, &error));
    EXPECT_TRUE(glApiLoaded());
    EXPECT_NE(glBindProgramARB, nullptr);
    EXPECT_NE(glActiveTextureARB, nullptr);
    EXPECT_NE(glProgramLocalParameter4fARB, nullptr);

    missingExtension = "GL_ARB_fragment_program";
    requested.clear();
    EXPECT_FALSE(loadGlApi(hooks, &error));
    EXPECT_NE(error.find("GL_ARB_fragment_program"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
    EXPECT_TRUE(requested.empty());  // no entry point is fetched for an unusable context
    EXPECT_FALSE(glApiLoaded());
    EXPECT_EQ(glBindProgramARB, nullptr);

    missingExtension = nullptr;
    missingEntry = "glProgramEnvParameter4fvARB";
    EXPECT_FALSE(loadGlApi(hooks, &error));
    EXPECT_NE(error.find("glProgramEnvParameter4fvARB"), std::string::npos) << error;
    // Nothing half-loaded is left behind.
    EXPECT_EQ(glActiveTextureARB, nullptr);
    EXPECT_EQ(glGenProgramsARB, nullptr);
    EXPECT_FALSE(glApiLoaded());

    EXPECT_FALSE(loadGlApi(hooks, nullptr));  // no message wanted: still no crash
    missingEntry = nullptr;
}

TEST(GlApi, WithoutAContextNothingLoads) {
    std::string error;
    EXPECT_FALSE(loadGlApi(&SDL_GL_GetProcAddress, &error));
    EXPECT_NE(error.find("context"), std::string::npos) << error;
    EXPECT_FALSE(glApiLoaded());
    error.clear();
    EXPECT_FALSE(loadGlApi(nullptr, &error));  // no loader: the same refusal
    EXPECT_NE(error.find("context"), std::string::npos) << error;
    EXPECT_FALSE(glApiLoaded());
}

using GlApiInContext = test::GlContextTest;

TEST_F(GlApiInContext, LoadsEveryEntryPoint) {
    EXPECT_TRUE(glApiLoaded());
#define VORTEL_EXPECT_LOADED(type, name) EXPECT_NE(name, nullptr) << #name;
    VORTEL_GL_ENTRY_POINTS(VORTEL_EXPECT_LOADED)
#undef VORTEL_EXPECT_LOADED
    // The loaded pointers work: a program environment parameter round-trips.
    const float v[4] = {1.5f, -2.0f, 0.25f, 8.0f};
    glProgramEnvParameter4fvARB(GL_FRAGMENT_PROGRAM_ARB, 3, v);
    float back[4] = {};
    glGetProgramEnvParameterfvARB(GL_FRAGMENT_PROGRAM_ARB, 3, back);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(back[i], v[i]);
    glActiveTextureARB(GL_TEXTURE1_ARB);
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &unit);
    EXPECT_EQ(unit, GL_TEXTURE1_ARB);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
}  // namespace vortel
