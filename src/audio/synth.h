#pragma once
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "core/rng.h"
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
    //
    // Voices are started only through noteOn and chordOn. A note is
    // evaluated through a plan made when it first sounds (voice_plan.h), so
    // neither its voice's instrument copy nor the oscillators, LFOs and
    // envelopes it uses may be changed while it plays (they never are: the
    // library is read-only once built).
    //
    // Noise waveforms draw from *noise, in voice order and within a voice
    // in the order of its formulas.
    float mix(float t);

    // Number of voices currently holding a note (pending or sounding).
    int activeVoices() const;
    // Number of voices that sound at song time t (0 < t - start <= lifetime).
    int soundingVoices(float t) const;

    int32_t sampleRate;
    std::array<Voice, kVoiceCount> voices;

    // The generator the voices' noise draws from: the synth's own unless the
    // owner points it at another one (which must outlive the synth or be
    // replaced first). The show points it at its own generator, so that the
    // soundtrack's noise continues the show's sequence of draws.
    Generator ownNoise;
    Generator* noise = &ownNoise;

    std::vector<std::unique_ptr<Instrument>> instruments;
    std::vector<std::unique_ptr<Oscillator>> oscillators;
    std::vector<std::unique_ptr<OscSlot>> oscSlots;
    std::vector<std::unique_ptr<Filter>> filters;
    std::vector<std::unique_ptr<Lfo>> lfos;
    std::vector<std::unique_ptr<Envelope>> envelopes;
    std::vector<std::unique_ptr<Channel>> channels;

private:
    static double wakeBound(const Voice& voice);
    void wakeVoices(float t);

    // Bit i set: voice i may be active. noteOn sets the bit, mix clears it
    // when it frees the voice, so mix only visits occupied voices (still in
    // index order). Voices are started only through noteOn and chordOn.
    uint64_t busyVoices_ = 0;
    // Busy voices whose note is not due yet (see wakeVoices), and the song
    // time after which the earliest of them may be due.
    uint64_t dormantVoices_ = 0;
    double nextWake_ = std::numeric_limits<double>::infinity();
};

}  // namespace vortel
