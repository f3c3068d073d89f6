#include "audio/voice.h"

namespace vortel {

bool Voice::begin(const Instrument* instrument, Channel* noteChannel, float noteGain,
                  int32_t noteNumber, float noteStart, float length) {
    if (active) return false;
    if (!instrument || !noteChannel || !instrument->envelope) return false;
    float l = length;
    if (l == -1.0f) {
        l = instrument->defaultLength;
        if (l == -1.0f) return false;
    }
    holdLength = l;
    lifetime = float(double(l) + double(instrument->envelope->release));
    note = noteNumber;
    instance->assignFrom(*instrument);
    plan.ready = false;
    channel = noteChannel;
    gain = noteGain;
    start = noteStart;
    active = true;
    return true;
}

}  // namespace vortel
