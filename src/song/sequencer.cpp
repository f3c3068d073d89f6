#include "song/sequencer.h"

#include <algorithm>

namespace vortel {

Sequencer::Sequencer(Synth& synth) : synth(&synth) {}

void Sequencer::addInstance(const Pattern& pattern, float offset, int32_t transpose, Instrument* instrument,
                            float volume, int32_t chord, float lengthOverride, Channel* channel) {
    Pattern& copy = instances.emplace_back(pattern);
    copy.offset = offset;
    copy.transpose = transpose;
    copy.instrument = instrument;
    copy.volume = volume;
    copy.chordOverride = chord;
    copy.lengthOverride = lengthOverride;
    copy.channel = channel;
}

void Sequencer::tick(float t) {
    if (static_cast<double>(t) - lastTick < 1.0) return;
    for (const Pattern& instance : instances) instance.scheduleWindow(t, 1.0f);
    lastTick = t;
}

void Sequencer::keepOnlyPart(std::string_view part) {
    std::erase_if(instances, [part](const Pattern& p) { return p.part != part; });
}

}  // namespace vortel
