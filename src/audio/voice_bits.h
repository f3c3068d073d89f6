#pragma once
#include <bit>
#include <cstdint>

namespace vortel {

// The set bits of a mask of voices (one bit per voice), lowest first: how
// the mixer walks its voices, `for (int i : voiceBits(mask))`. The range
// holds a copy of the mask, so the loop may change the mask it came from.
// A plain loop body (not a callback) keeps the mixer's locals in registers.
class VoiceBits {
public:
    struct Iterator {
        uint64_t rest;
        int operator*() const { return std::countr_zero(rest); }
        Iterator& operator++() {
            rest &= rest - 1;  // clears the lowest set bit
            return *this;
        }
        bool operator!=(const Iterator& other) const { return rest != other.rest; }
    };
    explicit VoiceBits(uint64_t mask) : mask_(mask) {}
    Iterator begin() const { return {mask_}; }
    Iterator end() const { return {0}; }

private:
    uint64_t mask_;
};

inline VoiceBits voiceBits(uint64_t mask) { return VoiceBits(mask); }

}  // namespace vortel
