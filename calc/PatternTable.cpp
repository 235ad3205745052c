#include "calc/PatternTable.h"

namespace koruba {

std::optional<BayAddress> bayOfTag(std::int32_t tag) {
    if (tag < 1 || tag > 4) {
        return std::nullopt;
    }
    return BayAddress{tag <= 2 ? 2 : 1, tag % 2 == 1 ? 1 : 2};
}

std::int32_t tagOfBay(BayAddress bay) {
    return (bay.storey == 2 ? 0 : 2) + bay.side;
}

bool bayInUse(const FramePattern& p, bool mirrored, BayAddress bay) {
    for (int term = 1; term <= p.storeys; ++term) {
        const TermSides s = termSides(p, term, mirrored);
        if (termStorey(p, term) == bay.storey && (s.left == bay.side || s.right == bay.side)) {
            return true;
        }
    }
    return false;
}

bool IsPatternTag(std::int32_t tag) {
    return framePattern(tag) != nullptr;
}

bool bayInUse(std::int32_t tag, std::int32_t patternTag, std::int32_t patternReversed) {
    const FramePattern* p = framePattern(patternTag);
    const std::optional<BayAddress> bay = bayOfTag(tag);
    return p != nullptr && bay && bayInUse(*p, patternReversed != 0, *bay);
}

} // namespace koruba
