#include <gtest/gtest.h>

#include "audio/envelope.h"

namespace vortel {
namespace {

Envelope make(float a, float d, float s, float r) {
    Envelope e("e");
    e.attack = a, e.decay = d, e.sustain = s, e.release = r;
    return e;
}

TEST(Envelope, WorkedFigures) {
    const Envelope e = make(0.01f, 0.05f, 0.1f, 0.05f);
    const float hold = 0.2f;
    EXPECT_NEAR(e.level(0.005f, hold), 0.5f, 1e-6);
    EXPECT_NEAR(e.level(0.01f, hold), 1.0f, 1e-6);
    EXPECT_NEAR(e.level(0.035f, hold), 0.55f, 1e-6);
    EXPECT_NEAR(e.level(0.1f, hold), 0.1f, 1e-6);
    EXPECT_NEAR(e.level(0.225f, hold), 0.05f, 1e-6);
    EXPECT_EQ(e.level(0.3f, hold), 0.0f);
    EXPECT_EQ(e.level(-0.001f, hold), 0.0f);  // before the start
}

TEST(Envelope, ReleaseStartsFromTheLevelReachedAtNoteOff) {
    const Envelope e = make(0.01f, 0.05f, 0.1f, 0.05f);
    // Note-off in the middle of the attack: the release falls from 0.5.
    EXPECT_NEAR(e.level(0.005f, 0.005f), 0.5f, 1e-6);
    EXPECT_NEAR(e.level(0.03f, 0.005f), 0.25f, 1e-6);
    EXPECT_EQ(e.level(0.0551f, 0.005f), 0.0f);
    // Note-off during the decay: 0.01 s into a 0.05 s decay to 0.1 is 0.82.
    EXPECT_NEAR(e.level(0.02f, 0.02f), 0.82f, 1e-6);
    EXPECT_NEAR(e.level(0.045f, 0.02f), 0.41f, 1e-6);
}

TEST(Envelope, ZeroTimesJump) {
    const Envelope gate = make(0, 0, 0.7f, 0);
    EXPECT_EQ(gate.level(-0.001f, 1), 0.0f);
    EXPECT_FLOAT_EQ(gate.level(0, 1), 0.7f);   // attack 0 and decay 0: sustain at once
    EXPECT_FLOAT_EQ(gate.level(0.5f, 1), 0.7f);
    EXPECT_EQ(gate.level(1, 1), 0.0f);         // release 0 ends at note-off
    const Envelope noDecay = make(0.1f, 0, 0.25f, 0.1f);
    EXPECT_NEAR(noDecay.level(0.0999f, 5), 0.999f, 1e-4);
    EXPECT_FLOAT_EQ(noDecay.level(0.1f, 5), 0.25f);
}

}  // namespace
}  // namespace vortel
