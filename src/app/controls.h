#pragma once
// What the keys of one frame ask the live show to do, with the frame's
// presses folded together: a held key's auto-repeat and a burst of presses
// come to one change each frame, and nothing pressed is lost.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/host.h"

namespace vortel {

constexpr float kSeekStepSeconds = 5.0f;  // Left / Right

struct Controls {
    bool togglePause = false;       // Space: an odd number of presses
    std::optional<float> seekFrom;  // Home: 0; else the frame's song time
    float seekBy = 0;               // Left / Right after seekFrom: -5 / +5 s each
    bool seek = false;              // any of Home, Left, Right
    bool randomSeed = false;        // R: a random seed ...
    int64_t seedStep = 0;           // ... then N / P: +1 / -1 each
    bool save = false;              // S
    bool toggleInfo = false;        // I: odd number of presses
    bool toggleGuide = false;       // H or F1: odd number of presses
    bool any() const {
        return togglePause || seek || randomSeed || seedStep != 0 || save || toggleInfo || toggleGuide;
    }
};

// Folds the frame's presses in order. Auto-repeat counts only for Left and
// Right (holding one scrubs on); the other keys act once per press.
Controls readControls(const std::vector<KeyPress>& keys);

// `seed` moved by `step`, wrapping at the ends of the 32-bit range.
int32_t stepSeed(int32_t seed, int64_t step);

}  // namespace vortel
