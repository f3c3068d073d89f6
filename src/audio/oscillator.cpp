#include "audio/oscillator.h"

#include <cmath>

#include "audio/wave_math.h"

namespace vortel {

float noteFrequency(double semitones) {
    float power = float(std::pow(2.0, semitones * double(kTwelfthF)));
    return float(440.0 * power);
}

float OscSlot::sample(float note, float d, float hold, float start) {
    if (!oscillator) return 0.0f;
    const Oscillator& osc = *oscillator;
    double pitch = (double(octave) * 12.0 + double(detune) * 2.0) + double(semitone) + double(note);
    if (!(pitch == cachedPitch)) {
        cachedPitch = pitch;
        cachedFrequency = noteFrequency(pitch);
    }
    float freq = cachedFrequency;
    if (osc.pitchLfo) {
        float v = osc.pitchLfo->value(d, start);
        freq = float((double(v) * osc.pitchLfoDepth + osc.pitchLfoOffset) * freq);
    }
    if (osc.pitchEnvelope) {
        float e = osc.pitchEnvelope->level(d, hold);
        freq = float((double(e) * osc.pitchEnvDepth + osc.pitchEnvOffset) * freq);
    }
    phase = float(double(phase) + double(freq) * double(kPhaseStep));
    if (!osc.waveform) return 0.0f;
    return float(double(osc.waveform(phase, 1.0f)) * amplitude);
}

}  // namespace vortel
