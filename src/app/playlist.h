#pragma once
// Which show follows the one playing: the seeds given, in order, then with
// shuffle random seeds without end; and the random seed R asks for.
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace vortel {

class Playlist {
public:
    Playlist(std::vector<int32_t> seeds, bool shuffle)
        : seeds_(std::move(seeds)), shuffle_(shuffle), random_(std::random_device{}()) {}

    // The seed of the next show, or nothing when none follows.
    std::optional<int32_t> next() {
        if (next_ < seeds_.size()) return seeds_[next_++];
        if (shuffle_) return randomSeed();
        return std::nullopt;
    }
    int32_t randomSeed() { return static_cast<int32_t>(random_()); }

private:
    std::vector<int32_t> seeds_;
    bool shuffle_ = false;
    size_t next_ = 0;
    std::mt19937 random_;
};

}  // namespace vortel
