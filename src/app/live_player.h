#pragma once
#include <functional>

#include "audio/playback.h"

namespace vortel {

// A player the live show can steer: besides starting on a cursor (again,
// on another show's cursor, replacing the first), it pauses, and it lets the
// show move the cursor while it reads nothing.
class LivePlayer : public Player {
public:
    virtual void setPaused(bool paused) = 0;
    virtual void whileStopped(const std::function<void()>& fn) = 0;
};

}  // namespace vortel
