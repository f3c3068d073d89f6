#pragma once
// The shape of one seed's song in time: tempo, step, sections and length.
// Derived from the seed once (song_setup.h) and read by the composer, the
// timeline and everything that places things in song time.
#include <array>
#include <cstdint>

namespace vortel {

constexpr int kMaxSections = 10;

struct SongLayout {
    int32_t seed = 0;
    float bpm = 0;          // beats per minute, 120..150
    float stepLength = 0;   // seconds per sixteenth note, 15 / bpm
    int32_t sectionCount = 0;
    std::array<int32_t, kMaxSections> spanCount{};  // spans (of 32 steps) per section
    float songLength = 0;   // seconds, 512 steps
};

}  // namespace vortel
