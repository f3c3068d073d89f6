#include "support/gl_test_support.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "visuals/frame/show_graphics.h"
#include "gfx/gpu_programs.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"
#include "visuals/timeline/timeline.h"

namespace vortel::test {

void GlContextTest::SetUp() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);  // keep the caller's choice
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    window_ = SDL_CreateWindow("vortel gfx test", 0, 0, kTestWindowWidth, kTestWindowHeight,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    context_ = SDL_GL_CreateContext(window_);
    ASSERT_NE(context_, nullptr) << SDL_GetError();
    ASSERT_EQ(SDL_GL_MakeCurrent(window_, context_), 0) << SDL_GetError();
    std::string error;
    ASSERT_TRUE(loadGlApi(&SDL_GL_GetProcAddress, &error)) << error;
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

void GlContextTest::TearDown() {
    clearGlApi();
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

ShowContextTest::ShowContextTest() = default;
ShowContextTest::~ShowContextTest() = default;

void ShowContextTest::setUpShow(int32_t seed, float bpm) {
    if (show_) releaseShowGraphics(*show_);
    show_ = makeShow(seed, bpm);
    ASSERT_TRUE(show_);
}

void ShowContextTest::TearDown() {
    if (show_) releaseShowGraphics(*show_);
    show_.reset();
    GlContextTest::TearDown();
}

std::unique_ptr<Show> makeShow(int32_t seed, float bpm) {
    auto show = std::make_unique<Show>();
    SongLayout& s = show->layout;
    s.seed = seed;
    s.bpm = bpm;
    s.stepLength = static_cast<float>(60.0 / bpm * 0.25);
    s.sectionCount = 4;
    s.spanCount.fill(0);
    for (int i = 0; i < 4; ++i) s.spanCount[i] = 4;
    s.songLength = static_cast<float>(16 * 32 * static_cast<double>(s.stepLength));
    show->frame.seed = seed;
    generateTextures(show->gpu, seed, show->rng);
    std::string why;
    if (!createRenderTargets(show->gpu, &why)) {
        ADD_FAILURE() << why;
        releaseShowGraphics(*show);
        return nullptr;
    }
    buildTimeline(show->timeline, s, show->rng);
    createGpuPrograms(show->gpu);
    return show;
}

std::vector<uint8_t> readPixels(int x, int y, int w, int h) {
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    glFinish();
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

namespace {

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    putU32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    putU32(out, static_cast<uint32_t>(crc));
}

}  // namespace

bool writePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgbaBottomUp, bool opaque) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(w * 4 + 1) * h);
    for (int row = h - 1; row >= 0; --row) {
        raw.push_back(0);  // filter: none
        const uint8_t* line = rgbaBottomUp.data() + static_cast<size_t>(row) * w * 4;
        raw.insert(raw.end(), line, line + w * 4);
        if (opaque)
            for (size_t i = raw.size() - static_cast<size_t>(w) * 4 + 3; i < raw.size(); i += 4) raw[i] = 255;
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size())) != Z_OK) return false;
    packed.resize(packedSize);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putU32(header, static_cast<uint32_t>(w));
    putU32(header, static_cast<uint32_t>(h));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter set, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
    return std::fclose(f) == 0 && ok;
}

std::string stillsDirectory() {
    const char* dir = std::getenv("VORTEL_STILLS_DIR");
    return dir ? dir : "";
}

uint32_t makeTexture(int w, int h, const std::vector<uint8_t>& rgba) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return name;
}

}  // namespace vortel::test
