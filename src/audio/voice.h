#pragma once
#include <cstdint>
#include <memory>

#include "audio/channel.h"
#include "audio/instrument.h"
#include "audio/voice_plan.h"

namespace vortel {

// One slot of the synth's voice pool. A voice is free, or holds a note that
// is pending (before its start), sounding, or releasing until its lifetime
// has passed.
struct Voice {
    float start = 0;        // song time at which the note begins, seconds
    float holdLength = 0;   // seconds from start to note-off
    float lifetime = 0;     // holdLength + the envelope's release; freed after
    bool active = false;    // holds a note (pending or sounding)
    // The voice's own instrument copy, refilled by every note it plays.
    std::unique_ptr<Instrument> instance = std::make_unique<Instrument>();
    Channel* channel = nullptr;  // the note's channel; not owned
    float gain = 0;              // the note's gain (velocity)
    int32_t note = 0;            // semitones relative to 440 Hz

    // How the mixer evaluates the current note; made when it first sounds.
    kernels::VoicePlan plan;

    // Takes a note unless the voice is busy, or the length is -1 and the
    // template has no default length, or the template has no envelope, or
    // either pointer is null. Returns whether the note was taken.
    bool begin(const Instrument* instrument, Channel* channel, float gain,
               int32_t note, float start, float length);
};

}  // namespace vortel
