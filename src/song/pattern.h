#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vortel {

class Synth;
struct Instrument;
struct Channel;

// One note of a pattern, timed relative to the pattern's start.
struct Note {
    float time = 0;                    // seconds from the pattern's start
    float length = -1;                 // hold length in seconds; -1 = the instrument's default length
    Instrument* instrument = nullptr;  // library instrument (owned by the Synth)
    Channel* channel = nullptr;        // mixer channel (owned by the Synth)
    int32_t pitch = 0;                 // semitones relative to 440 Hz
    float velocity = 1;                // gain factor
    int32_t chord = -1;                // -1 = single note; 0..3 = row of the chord table
};

// A run of notes. The composer builds patterns with addNote; the Sequencer
// keeps deep copies of them as pattern instances, whose placement and
// override fields say where and how the notes are played.
struct Pattern {
    // The synth that will play the notes; `part` labels the musical part the
    // pattern belongs to ("drums", "hihat", "pad", "bass"), so that one part
    // of a song can be rendered on its own. The label is not used in playback.
    explicit Pattern(Synth& synth, std::string part = {});

    float length = 0;                  // latest note time, or a length set by the composer; not used in playback
    float offset = 0;                  // song time in seconds at which the pattern starts
    int32_t transpose = 0;             // semitones added to every note's pitch
    Instrument* instrument = nullptr;  // if set, replaces every note's instrument
    Channel* channel = nullptr;        // if set, replaces every note's channel
    float volume = 1;                  // multiplies every note's velocity
    float lengthOverride = -1;         // if not -1, replaces every note's length
    int32_t chordOverride = -1;        // if not -1, replaces every note's chord
    std::vector<Note> notes;           // in the order added, which must be non-decreasing in time
    Synth* synth;
    std::string part;

    // Appends {time, length, instrument, channel, pitch, velocity, chord -1}.
    // A time later than `length` raises `length` to it. Does not sort: the
    // caller adds notes in non-decreasing time order.
    void addNote(Instrument* instrument, Channel* channel, float velocity, int32_t pitch, float time,
                 float length);

    // Starts, through the synth's noteOn or chordOn, every note whose absolute
    // start (offset + time) lies in [t, t + w), with the overrides, the
    // transposition and the volume applied. Never allocates by itself.
    void scheduleWindow(float t, float w) const;
};

}  // namespace vortel
