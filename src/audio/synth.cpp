#include "audio/synth.h"

namespace vortel {

Synth::Synth(int32_t rate) : sampleRate(rate) {}

bool Synth::noteOn(const Instrument* instrument, Channel* channel, float gain, int32_t note,
                   float start, float length) {
    for (Voice& voice : voices)
        if (voice.begin(instrument, channel, gain, note, start, length)) return true;
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

float Synth::mix(float t) {
    float sum = 0.0f;
    for (Voice& voice : voices) {
        if (!voice.active) continue;
        float d = float(double(t) - double(voice.start));
        if (d > voice.lifetime) {
            voice.active = false;
            continue;
        }
        if (d > 0.0f) {
            float s = voice.instance->sample(float(voice.note), d, voice.holdLength, voice.start);
            sum = float(double(sum) + double(s) * voice.channel->volume * voice.gain);
        }
    }
    return sum;
}

int Synth::activeVoices() const {
    int n = 0;
    for (const Voice& voice : voices) n += voice.active ? 1 : 0;
    return n;
}

}  // namespace vortel
