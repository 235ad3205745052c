#pragma once

#include "cli/ColumnInput.h"
#include "cli/OutputBuffer.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace koruba::cli {

// Key of a column whose bays were read from tokens: pattern, mirror state
// and per bay the brace kind, size and panel multiplier index. For such
// bays the key says everything the result depends on (the multipliers
// follow from kind, size and index), so equal keys give equal output.
std::uint64_t ColumnKey(const ColumnInput& column);

// The formatted results of columns seen before, shared by the worker
// threads of a run. In a house most columns repeat a handful of wall
// layouts, and formatting the texts costs far more than copying them.
// Direct-mapped (each key has one slot) in shards with a lock each, so two
// workers rarely wait for each other.
class ResultCache {
public:
    ResultCache() {
        for (Shard& s : shards_) {
            s.slots.resize(SlotsPerShard);
        }
    }

    // Appends the text stored for key; false when there is none.
    bool AppendTo(std::uint64_t key, OutputBuffer& out) {
        const std::size_t h = Hash(key);
        Shard& shard = shards_[h % ShardCount];
        const std::lock_guard<std::mutex> lock(shard.mutex);
        Slot& s = shard.slots[(h / ShardCount) % SlotsPerShard];
        if (!s.used || s.key != key) {
            return false;
        }
        if (s.hits < MaxHits) {
            ++s.hits;
        }
        out.Put(s.text);
        return true;
    }

    // A slot whose column was found again is kept against a few one-off
    // columns, so that rare layouts do not push out the common ones.
    void Store(std::uint64_t key, std::string_view text) {
        const std::size_t h = Hash(key);
        Shard& shard = shards_[h % ShardCount];
        const std::lock_guard<std::mutex> lock(shard.mutex);
        Slot& s = shard.slots[(h / ShardCount) % SlotsPerShard];
        if (s.used && s.key == key) {
            return;
        }
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
    static constexpr std::size_t ShardCount = 64;
    static constexpr std::size_t SlotsPerShard = 1024;
    static constexpr std::uint8_t MaxHits = 8;

    struct Slot {
        bool used = false;
        std::uint8_t hits = 0;
        std::uint64_t key = 0;
        std::string text;
    };
    struct Shard {
        std::mutex mutex;
        std::vector<Slot> slots;
    };

    static std::size_t Hash(std::uint64_t key) {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 32);
    }

    std::array<Shard, ShardCount> shards_;
};

} // namespace koruba::cli
