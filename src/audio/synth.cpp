#include "audio/synth.h"
#include "audio/voice_bits.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "audio/plan_kernels.h"

namespace vortel {

static_assert(kVoiceCount <= 64, "the busy-voice mask holds one bit per voice");

Synth::Synth(int32_t rate) : sampleRate(rate) {}

bool Synth::noteOn(const Instrument* instrument, Channel* channel, float gain, int32_t note,
                   float start, float length) {
    for (int i = 0; i < kVoiceCount; ++i) {
        if (voices[i].begin(instrument, channel, gain, note, start, length)) {
            busyVoices_ |= uint64_t(1) << i;
            dormantVoices_ |= uint64_t(1) << i;
            nextWake_ = std::min(nextWake_, wakeBound(voices[i]));
            return true;
        }
    }
    return false;
}

bool Synth::chordOn(const Instrument* instrument, Channel* channel, float gain, int32_t root,
                    int32_t chord, float start, float length) {
    if (chord < 0 || chord >= kChordCount) return false;
    bool placed = false;
    for (int k = 0; k < kChordNotes; ++k)
        placed = noteOn(instrument, channel, gain, root + ChordTable[chord][k], start, length);
    return placed;
}

// A placed note needs the mixer once d = t - start (rounded to float)
// exceeds 0 (it sounds) or its lifetime (it is freed; only a negative
// lifetime does this before the start). Rounding is monotonic, so that
// cannot happen while t <= start + min(0, lifetime); the bound is lowered a
// little to stay on the safe side of the double sum.
double Synth::wakeBound(const Voice& voice) {
    const double edge = double(voice.start) + std::min(0.0, double(voice.lifetime));
    return edge - 1e-9 * (std::fabs(edge) + 1.0);
}

void Synth::wakeVoices(float t) {
    nextWake_ = std::numeric_limits<double>::infinity();
    for (int i : voiceBits(dormantVoices_)) {
        const Voice& voice = voices[i];
        const float d = float(double(t) - double(voice.start));
        if (!voice.active || d > 0.0f || d > voice.lifetime)
            dormantVoices_ &= ~(uint64_t(1) << i);
        else
            nextWake_ = std::min(nextWake_, wakeBound(voice));
    }
}

float Synth::mix(float t) {
    // Notes placed ahead of their start wait aside until they are due.
    if (double(t) > nextWake_) wakeVoices(t);

    // First pass, in voice order: free the voices whose lifetime has passed
    // and bring the filter coefficients of the sounding ones up to date,
    // computing the due ones together.
    // Second pass, in voice order: the oscillator slots of the sounding
    // voices; a voice whose filters may draw noise, or that has no plan, is
    // evaluated whole here, at its place in the order of the draws.
    // Third pass: the filters and gains of the other voices. Their filters
    // draw nothing, so running them after every slot keeps the order of the
    // draws (see plan_kernels.h).
    // Last, the sum in voice order.
    // Short passes of independent voices keep several voices in flight at
    // once, where one long evaluation per voice would wait on its chain.
    uint64_t sounding = 0;
    kernels::CoefficientBatch batch;
    kernels::LfoMemo lfos;
    Generator& rng = *noise;
    // Per-voice scratch, filled for the sounding voices only: d, and either
    // the plan's envelope levels or the level memo of an unplanned note.
    float elapsed[kVoiceCount];
    union Scratch {
        Scratch() {}
        float levels[kernels::VoicePlan::kMaxEnvelopes];
        kernels::LevelMemo memo;
    } scratch[kVoiceCount];

    for (int i : voiceBits(busyVoices_ & ~dormantVoices_)) {
        Voice& voice = voices[i];
        if (!voice.active) {
            busyVoices_ &= ~(uint64_t(1) << i);
            continue;
        }
        const float d = float(double(t) - double(voice.start));
        if (d > voice.lifetime) {
            voice.active = false;
            busyVoices_ &= ~(uint64_t(1) << i);
            continue;
        }
        if (d > 0.0f) {
            sounding |= uint64_t(1) << i;
            elapsed[i] = d;
            Instrument& instance = *voice.instance;
            if (!voice.plan.ready)
                kernels::makePlan(voice.plan, instance, float(voice.note), voice.holdLength);
            if (voice.plan.usable) {
                kernels::planControl(voice.plan, instance, d, voice.holdLength, voice.start,
                                     scratch[i].levels, batch, lfos, rng);
            } else {
                new (&scratch[i].memo) kernels::LevelMemo();
                kernels::instrumentControl(instance, d, voice.holdLength, voice.start,
                                           scratch[i].memo, batch, rng);
            }
        }
    }
    batch.flush();

    // The slot sums of the voices whose filters are still to run, then the
    // outputs of all sounding voices.
    float output[kVoiceCount];
    uint64_t filtersDue = 0;
    for (int i : voiceBits(sounding)) {
        Voice& voice = voices[i];
        Instrument& instance = *voice.instance;
        if (!voice.plan.usable) {
            output[i] = kernels::instrumentAudio(instance, float(voice.note), elapsed[i],
                                                 voice.holdLength, voice.start, scratch[i].memo, rng);
        } else if (!voice.plan.allPure) {
            output[i] = kernels::planAudio(voice.plan, instance, elapsed[i], voice.start,
                                           scratch[i].levels, rng);
        } else {
            output[i] = kernels::planSources(voice.plan, instance, elapsed[i], voice.start,
                                             scratch[i].levels, rng);
            filtersDue |= uint64_t(1) << i;
        }
    }

    for (int i : voiceBits(filtersDue)) {
        Voice& voice = voices[i];
        output[i] = kernels::planFilterAndGain(voice.plan, *voice.instance, output[i],
                                               elapsed[i], voice.start, scratch[i].levels, rng);
    }

    float sum = 0.0f;
    for (int i : voiceBits(sounding)) {
        const Voice& voice = voices[i];
        sum = float(double(sum) + double(output[i]) * voice.channel->volume * voice.gain);
    }
    return sum;
}

int Synth::activeVoices() const {
    int n = 0;
    for (const Voice& voice : voices) n += voice.active ? 1 : 0;
    return n;
}

int Synth::soundingVoices(float t) const {
    int n = 0;
    for (const Voice& voice : voices) {
        if (!voice.active) continue;
        const float d = float(double(t) - double(voice.start));
        n += (d > 0.0f && d <= voice.lifetime) ? 1 : 0;
    }
    return n;
}

}  // namespace vortel
