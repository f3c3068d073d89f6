#include "song/presets.h"

#include <memory>

#include "audio/synth.h"

namespace vortel {

namespace {

template <typename T>
T* append(std::vector<std::unique_ptr<T>>& list, std::unique_ptr<T> entry, const std::string& name) {
    if (!name.empty()) entry->name = name;
    list.push_back(std::move(entry));
    return list.back().get();
}

template <typename T>
std::vector<T*> findByPrefix(const std::vector<std::unique_ptr<T>>& list, std::string_view prefix) {
    std::vector<T*> found;
    for (const auto& entry : list)
        if (hasPrefix(entry->name, prefix)) found.push_back(entry.get());
    return found;
}

}  // namespace

Instrument* addInstrument(Synth& synth, const Instrument& tmpl, const std::string& name) {
    auto entry = std::make_unique<Instrument>();
    entry->assignFrom(tmpl);
    entry->name = tmpl.name;
    return append(synth.instruments, std::move(entry), name);
}

Oscillator* addOscillator(Synth& synth, const Oscillator& tmpl, const std::string& name) {
    return append(synth.oscillators, std::make_unique<Oscillator>(tmpl), name);
}

OscSlot* addOscSlot(Synth& synth, const OscSlot& tmpl, const std::string& name) {
    return append(synth.oscSlots, std::make_unique<OscSlot>(tmpl), name);
}

Filter* addFilter(Synth& synth, const Filter& tmpl, const std::string& name) {
    return append(synth.filters, std::make_unique<Filter>(tmpl), name);
}

Lfo* addLfo(Synth& synth, const Lfo& tmpl, const std::string& name) {
    return append(synth.lfos, std::make_unique<Lfo>(tmpl), name);
}

Envelope* addEnvelope(Synth& synth, const Envelope& tmpl, const std::string& name) {
    return append(synth.envelopes, std::make_unique<Envelope>(tmpl), name);
}

Channel* addChannel(Synth& synth, const Channel& tmpl, const std::string& name) {
    return append(synth.channels, std::make_unique<Channel>(tmpl), name);
}

bool hasPrefix(std::string_view name, std::string_view prefix) { return name.starts_with(prefix); }

std::vector<Instrument*> findInstruments(const Synth& synth, std::string_view prefix) {
    return findByPrefix(synth.instruments, prefix);
}

std::vector<Lfo*> findLfos(const Synth& synth, std::string_view prefix) { return findByPrefix(synth.lfos, prefix); }

std::vector<Envelope*> findEnvelopes(const Synth& synth, std::string_view prefix) {
    return findByPrefix(synth.envelopes, prefix);
}

Instrument* pickInstrument(Synth& synth, std::string_view prefix, Generator& rng) {
    const std::vector<Instrument*> matches = findInstruments(synth, prefix);
    const auto r = static_cast<uint32_t>(rng.rand());
    if (matches.empty()) return nullptr;
    return matches[r % static_cast<uint32_t>(matches.size())];
}

}  // namespace vortel
