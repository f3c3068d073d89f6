#pragma once
#include <string>

namespace vortel {

// A mixer channel; its volume scales every voice playing on it.
struct Channel {
    std::string name;
    float volume = 1.0f;

    Channel() = default;
    explicit Channel(std::string name, float volume = 1.0f)
        : name(std::move(name)), volume(volume) {}
};

}  // namespace vortel
