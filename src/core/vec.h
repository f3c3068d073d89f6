#pragma once

namespace vortel {

// The small vectors the shared state keeps: plain floats, zero by default.
struct Vec3 {
    float x = 0, y = 0, z = 0;
};
struct Vec4 {
    float x = 0, y = 0, z = 0, w = 0;
};

}  // namespace vortel
