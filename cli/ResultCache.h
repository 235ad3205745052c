#pragma once

#include "cli/ColumnInput.h"
#include "cli/ResultJson.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace koruba::cli {

// Key of a column whose bays were read from tokens: pattern, mirror state
// and per bay the brace kind, size and panel multiplier index. For such
// bays the key says everything the result depends on (the multipliers
// follow from kind, size and index), so equal keys give equal output.
std::uint64_t ColumnKey(const ColumnInput& column);

// The formatted result of recently seen columns. In a house most columns
// repeat a handful of wall layouts, and formatting the texts costs far
// more than looking them up. Direct-mapped, each key has one slot. One cache per worker thread,
// kept for the whole run; not shared between threads.
class ResultCache {
public:
    ResultCache() : slots_(SlotCount) {}

    const std::string* Find(std::uint64_t key) {
        Slot& s = slots_[SlotOf(key)];
        if (s.used && s.key == key) {
            if (s.hits < MaxHits) {
                ++s.hits;
            }
            return &s.text;
        }
        return nullptr;
    }
    // A slot whose column was found again is kept against a few one-off
    // columns, so that rare layouts do not push out the common ones.
    // Texts of the floats of the results formatted so far.
    FloatTextCache Floats;

    void Store(std::uint64_t key, std::string_view text) {
        Slot& s = slots_[SlotOf(key)];
        if (s.used && s.hits > 0) {
            --s.hits;
            return;
        }
        s.used = true;
        s.key = key;
        s.hits = 0;
        s.text.assign(text);
    }

private:
    static constexpr std::size_t SlotBits = 15;
    static constexpr std::size_t SlotCount = std::size_t{1} << SlotBits;
    static constexpr std::uint8_t MaxHits = 8;

    struct Slot {
        bool used = false;
        std::uint8_t hits = 0;
        std::uint64_t key = 0;
        std::string text;
    };

    static std::size_t SlotOf(std::uint64_t key) {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> (64 - SlotBits));
    }

    std::vector<Slot> slots_;
};

} // namespace koruba::cli
