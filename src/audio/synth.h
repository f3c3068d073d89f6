#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/channel.h"
#include "audio/chord_table.h"
#include "audio/envelope.h"
#include "audio/filter.h"
#include "audio/instrument.h"
#include "audio/lfo.h"
#include "audio/oscillator.h"
#include "audio/voice.h"

namespace vortel {

constexpr int kVoiceCount = 50;

// The sound engine: a fixed pool of 50 voices, the mixer that sums them, and
// the component lists that the preset library fills. Entries of the lists
// are owned here and keep their address for the life of the synth; other
// components and the song refer to them by plain pointer.
class Synth {
public:
    explicit Synth(int32_t sampleRate);

    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;

    // Places a note in the lowest free voice, copying `instrument` into it.
    // `start` is the song time of the note's start (it may lie ahead);
    // `length` is the time to note-off, or -1 for the instrument's default
    // length. Returns false when the note was dropped: all voices busy, or
    // no length at all. No voice is ever stolen.
    bool noteOn(const Instrument* instrument, Channel* channel, float gain,
                int32_t note, float start, float length);

    // Four noteOn calls with root + ChordTable[chord][k], k = 0..3 in order.
    // Returns the result of the last. `chord` must be 0..3 (other values
    // place nothing and return false).
    bool chordOn(const Instrument* instrument, Channel* channel, float gain,
                 int32_t root, int32_t chord, float start, float length);

    // The sum of all voices at song time `t` (strictly increasing from call
    // to call). Frees every voice whose lifetime has passed. Never
    // allocates.
    float mix(float t);

    // Number of voices currently holding a note.
    int activeVoices() const;

    int32_t sampleRate;
    std::array<Voice, kVoiceCount> voices;

    std::vector<std::unique_ptr<Instrument>> instruments;
    std::vector<std::unique_ptr<Oscillator>> oscillators;
    std::vector<std::unique_ptr<OscSlot>> oscSlots;
    std::vector<std::unique_ptr<Filter>> filters;
    std::vector<std::unique_ptr<Lfo>> lfos;
    std::vector<std::unique_ptr<Envelope>> envelopes;
    std::vector<std::unique_ptr<Channel>> channels;
};

}  // namespace vortel
