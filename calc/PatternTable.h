#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace koruba {

// A wall bay beside the column under study. Storey 1 is the lower storey
// of a two-storey frame, storey 2 the upper storey or the only one; side 1
// is the left bay of the diagram, side 2 the right one.
struct BayAddress {
    int storey = 0;
    int side = 0;

    friend bool operator==(const BayAddress&, const BayAddress&) = default;
};

// The four bay images carry tags 1..4: upper left, upper right, lower left,
// lower right. Nothing for any other tag.
std::optional<BayAddress> bayOfTag(std::int32_t tag);
std::int32_t tagOfBay(BayAddress bay);

// Which bays of its storey a formula term reads: the bay left and the bay
// right of the column, each given by its side (1 or 2), 0 where the frame
// has no bay.
struct TermSides {
    int left = 0;
    int right = 0;

    friend bool operator==(const TermSides&, const TermSides&) = default;
};

// One frame pattern of the simplified N-value method: the tag of its tool
// button, its storeys, the factors B1, B2 and L, the bays each term of the
// formula reads as drawn and mirrored, whether a mirror image differs from
// it, and whether the column under study is a corner column.
struct FramePattern {
    std::int32_t tag = 0;
    std::int32_t storeys = 0;
    float b1 = 0.0f;
    float b2 = 0.0f;
    float l = 0.0f;
    TermSides a1;
    TermSides a2;
    TermSides a1Mirrored;
    TermSides a2Mirrored;
    bool mirrorable = false;
    bool cornerColumn = false;
};

// The five patterns, in the order of the tool bar. B and L are those of
// the notification: B 0.8 at a corner column, 0.5 elsewhere; L 0.4 and 0.6
// for a single storey, 1.0 and 1.6 below a second storey.
inline constexpr std::array<FramePattern, 5> kFramePatterns{{
    {21, 1, 0.8f, 0.0f, 0.4f, {0, 1}, {}, {2, 0}, {}, true, true},
    {22, 1, 0.5f, 0.0f, 0.6f, {1, 2}, {}, {1, 2}, {}, false, false},
    {11, 2, 0.8f, 0.8f, 1.0f, {0, 1}, {0, 1}, {2, 0}, {2, 0}, true, true},
    {12, 2, 0.5f, 0.8f, 1.6f, {1, 2}, {0, 2}, {1, 2}, {1, 0}, true, false},
    {13, 2, 0.5f, 0.5f, 1.6f, {1, 2}, {1, 2}, {1, 2}, {1, 2}, false, false},
}};

// The pattern of a tool-button tag, or nothing.
constexpr const FramePattern* framePattern(std::int32_t tag) {
    for (const FramePattern& p : kFramePatterns) {
        if (p.tag == tag) {
            return &p;
        }
    }
    return nullptr;
}

// The storey whose bays term 1 (the column's own storey) or term 2 (the
// storey above) reads.
constexpr int termStorey(const FramePattern& p, int term) {
    return term == 2 || p.storeys == 1 ? 2 : 1;
}

constexpr TermSides termSides(const FramePattern& p, int term, bool mirrored) {
    if (term == 1) {
        return mirrored ? p.a1Mirrored : p.a1;
    }
    return mirrored ? p.a2Mirrored : p.a2;
}

// Whether a formula term of the pattern, drawn or mirrored, reads the bay.
bool bayInUse(const FramePattern& p, bool mirrored, BayAddress bay);

// The names the rest of the program has always used.
bool IsPatternTag(std::int32_t tag);
// 2 for the lower-storey columns of two-storey frames, 1 for a single
// storey, 0 for a tag that is no pattern.
constexpr std::int32_t StoreyCountOf(std::int32_t patternTag) {
    const FramePattern* p = framePattern(patternTag);
    return p != nullptr ? p->storeys : 0;
}
// Whether a pattern in a mirror state uses the bay image tag; no bay for
// any other pattern tag.
bool bayInUse(std::int32_t tag, std::int32_t patternTag, std::int32_t patternReversed);

} // namespace koruba
