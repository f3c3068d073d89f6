#pragma once
#include <cstdint>

namespace vortel {

constexpr int kChordCount = 4;
constexpr int kChordNotes = 4;

// Semitone offsets of the four chords, indexed by chord number: major,
// minor, dominant seventh and minor seventh voicings.
inline constexpr int32_t ChordTable[kChordCount][kChordNotes] = {
    {0, 4, 7, 12},
    {0, 3, 7, 12},
    {0, 4, 7, 10},
    {0, 3, 7, 10},
};

}  // namespace vortel
