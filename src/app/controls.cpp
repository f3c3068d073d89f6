#include "app/controls.h"

namespace vortel {

Controls readControls(const std::vector<KeyPress>& keys) {
    Controls c;
    for (const KeyPress& k : keys) {
        if (k.repeat && k.key != Key::Left && k.key != Key::Right) continue;
        switch (k.key) {
        case Key::Space: c.togglePause = !c.togglePause; break;
        case Key::Home:
            c.seekFrom = 0.0f;
            c.seekBy = 0;
            c.seek = true;
            break;
        case Key::Left:
            c.seekBy -= kSeekStepSeconds;
            c.seek = true;
            break;
        case Key::Right:
            c.seekBy += kSeekStepSeconds;
            c.seek = true;
            break;
        case Key::N: ++c.seedStep; break;
        case Key::P: --c.seedStep; break;
        case Key::R:
            c.randomSeed = true;
            c.seedStep = 0;
            break;
        case Key::S: c.save = true; break;
        case Key::I: c.toggleInfo = !c.toggleInfo; break;
        case Key::H:
        case Key::F1: c.toggleGuide = !c.toggleGuide; break;
        }
    }
    return c;
}

int32_t stepSeed(int32_t seed, int64_t step) {
    return static_cast<int32_t>(static_cast<uint32_t>(seed) + static_cast<uint32_t>(static_cast<uint64_t>(step)));
}

}  // namespace vortel
