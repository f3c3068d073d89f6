#include "song/pattern.h"

#include <utility>

#include "audio/synth.h"

namespace vortel {

Pattern::Pattern(Synth& synth, std::string part) : synth(&synth), part(std::move(part)) {}

void Pattern::addNote(Instrument* instrument, Channel* channel, float velocity, int32_t pitch, float time,
                      float length) {
    notes.push_back(Note{time, length, instrument, channel, pitch, velocity, -1});
    if (time > this->length) this->length = time;
}

void Pattern::scheduleWindow(float t, float w) const {
    const double windowStart = t;
    const double windowEnd = static_cast<double>(t) + static_cast<double>(w);
    size_t i = 0;
    while (i < notes.size() && static_cast<double>(notes[i].time) + offset < windowStart) ++i;
    for (; i < notes.size(); ++i) {
        const Note& n = notes[i];
        const double start = static_cast<double>(offset) + n.time;
        if (!(start < windowEnd)) break;
        Instrument* inst = instrument ? instrument : n.instrument;
        Channel* chan = channel ? channel : n.channel;
        const float len = lengthOverride == -1.0f ? n.length : lengthOverride;
        const int32_t chord = chordOverride != -1 ? chordOverride : n.chord;
        const float gain = static_cast<float>(static_cast<double>(n.velocity) * volume);
        const int32_t pitch = n.pitch + transpose;
        if (chord == -1)
            synth->noteOn(inst, chan, gain, pitch, static_cast<float>(start), len);
        else
            synth->chordOn(inst, chan, gain, pitch, chord, static_cast<float>(start), len);
    }
}

}  // namespace vortel
