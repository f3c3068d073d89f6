#include "visuals/frame/warm_up.h"

#include <algorithm>
#include <set>
#include <string>

#include "core/demo_state.h"
#include "core/rng.h"
#include "gfx/gl_api.h"
#include "gfx/render_targets.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/frame_log.h"
#include "visuals/plan/step_executor.h"
#include "visuals/scenes/shape_presets.h"

namespace vortel {

namespace {

// What the generator, demo() and the shape settings hold; drawing changes
// all of them.
struct Saved {
    DemoState state = demo();
    uint32_t rng = randState();
    int32_t preset = shapePreset;
    float morph = shapeMorph;
    void restore() const {
        demo() = state;
        srand(rng);
        shapePreset = preset;
        shapeMorph = morph;
    }
};

// The instants where the set of running actions can change.
std::vector<float> boundaries(const Timeline& timeline, float end) {
    std::vector<float> b{0, end};
    for (const TimelineClip& c : timeline.clips)
        for (const ClipAction& a : c.actions) {
            const double begin = static_cast<double>(c.start) + a.offset;
            b.push_back(static_cast<float>(begin));
            b.push_back(static_cast<float>(begin + a.duration));
        }
    std::sort(b.begin(), b.end());
    b.erase(std::unique(b.begin(), b.end()), b.end());
    b.erase(std::remove_if(b.begin(), b.end(), [end](float t) { return t < 0 || t > end; }), b.end());
    return b;
}

}  // namespace

std::vector<float> warmUpTimes() {
    const DemoState& s = demo();
    if (!s.timeline) return {};
    const Saved saved;
    const std::vector<float> b = boundaries(*s.timeline, s.songLength + 1.0f);
    // An action's GL state is its own plus what the action before it left
    // (bound texture, depth test after a tint), so a frame is kept when it
    // has a pair of successive actions no kept frame had.
    std::set<std::string> seen;
    std::vector<float> times;
    for (size_t i = 0; i + 1 < b.size(); ++i) {
        const float t = 0.5f * (b[i] + b[i + 1]);
        const FrameLog log = dryRunFrame(t, 1.0f / 60);
        std::string previous = "start";
        bool fresh = false;
        for (const ActionRecord& a : log.actions) {
            if (a.lane == Lane::Camera) continue;  // cameras set fields of demo(), no GL state
            const std::string action = std::string(a.action) + ((a.seed & 1) ? "/odd" : "/even");
            fresh = seen.insert(previous + " " + action).second || fresh;
            previous = action;
        }
        if (fresh) times.push_back(t);
    }
    saved.restore();
    return times;
}

namespace {

// The texture bound on a unit, with the wrap and filters it samples with,
// and the current texture coordinate and colour: a line scene samples
// whatever the actions before it left bound.
struct SavedBinding {
    GLint texture = 0;
    GLint params[4] = {};
    static constexpr GLenum kParams[4] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MIN_FILTER,
                                          GL_TEXTURE_MAG_FILTER};
    explicit SavedBinding(GLenum unit) : unit_(unit) {
        glActiveTextureARB(unit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        for (int i = 0; i < 4; ++i) glGetTexParameteriv(GL_TEXTURE_2D, kParams[i], &params[i]);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    void restore() const {
        glActiveTextureARB(unit_);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
        for (int i = 0; i < 4; ++i) glTexParameteri(GL_TEXTURE_2D, kParams[i], params[i]);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }

private:
    GLenum unit_;
};

}  // namespace

int warmUpFrames() {
    const std::vector<float> times = warmUpTimes();
    const Saved saved;
    const SavedBinding unit0(GL_TEXTURE0_ARB), unit1(GL_TEXTURE1_ARB);
    GLfloat texCoord[4], colour[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    const uint32_t working = workingAreaTexture();
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
    setGlowComputed(false);
    for (float t : times) renderFrameAt(t, 1.0f / 60);
    setGlowComputed(true);
    glDisable(GL_SCISSOR_TEST);
    glFinish();
    saved.restore();
    setWorkingAreaTexture(working);
    unit1.restore();
    unit0.restore();
    glTexCoord4fv(texCoord);
    glColor4fv(colour);
    return static_cast<int>(times.size());
}

}  // namespace vortel
