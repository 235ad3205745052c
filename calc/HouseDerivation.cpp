#include "calc/HouseDerivation.h"

#include "calc/CalcNValue.h"
#include "calc/PatternTable.h"

#include <algorithm>
#include <map>

namespace koruba {

namespace {

// What the derivation looks up for every column of a storey, built once
// per storey so that no column scans all the walls.
struct StoreyIndex {
    const Storey* storey = nullptr;
    std::map<GridPoint, std::size_t> columns;
    std::map<GridPoint, bool> convex;
    // By direction: the wall whose higher end / lower end is the point.
    std::array<std::map<GridPoint, const HouseWall*>, 2> endingAt;
    std::array<std::map<GridPoint, const HouseWall*>, 2> startingAt;

    bool isCorner(GridPoint p) const {
        const auto it = convex.find(p);
        return it != convex.end() && it->second;
    }
    bool hasWallEnd(GridPoint p) const {
        for (std::size_t d = 0; d < 2; ++d) {
            if (endingAt[d].count(p) != 0 || startingAt[d].count(p) != 0) {
                return true;
            }
        }
        return false;
    }
    // The bays left (lower coordinate) and right of the point.
    std::array<BayCell, 2> baysAt(GridPoint p, HouseDirection d) const {
        const auto i = static_cast<std::size_t>(d);
        std::array<BayCell, 2> bays{};
        if (const auto it = endingAt[i].find(p); it != endingAt[i].end()) {
            bays[0] = it->second->bay;
        }
        if (const auto it = startingAt[i].find(p); it != startingAt[i].end()) {
            bays[1] = it->second->bay;
        }
        return bays;
    }
};

StoreyIndex indexStorey(const Storey& s) {
    StoreyIndex ix;
    ix.storey = &s;
    for (std::size_t i = 0; i < s.columns.size(); ++i) {
        ix.columns.emplace(s.columns[i].at, i);
    }
    const std::vector<bool> convex = convexVertices(s.outline);
    for (std::size_t i = 0; i < s.outline.size(); ++i) {
        ix.convex[s.outline[i]] = convex[i];
    }
    for (const HouseWall& w : s.walls) {
        const bool alongX = w.from.y == w.to.y;
        const auto d = static_cast<std::size_t>(alongX ? HouseDirection::X : HouseDirection::Y);
        const bool forward = alongX ? w.from.x < w.to.x : w.from.y < w.to.y;
        ix.startingAt[d][forward ? w.from : w.to] = &w;
        ix.endingAt[d][forward ? w.to : w.from] = &w;
    }
    return ix;
}

// The factors B and L come from the window's pattern table: a corner
// column takes those of its corner patterns, any other column those of
// the inner ones, so each factor is written once.
FramePattern singleStoreyFrame(bool corner) {
    FramePattern p = *framePattern(corner ? 21 : 22);
    p.tag = 0;
    p.a1 = p.a1Mirrored = TermSides{1, 2};
    p.mirrorable = false;
    return p;
}

FramePattern lowerStoreyFrame(bool corner, bool upperCorner) {
    const FramePattern& lower = *framePattern(corner ? 11 : 13);
    const FramePattern& upper = *framePattern(upperCorner ? 11 : 13);
    FramePattern p = lower;
    p.tag = 0;
    p.b2 = upper.b2;
    p.a1 = p.a1Mirrored = p.a2 = p.a2Mirrored = TermSides{1, 2};
    p.mirrorable = false;
    return p;
}

void setRow(BayTable& bays, int row, const std::array<BayCell, 2>& cells) {
    bays.SetCell(row, 1, cells[0]);
    bays.SetCell(row, 2, cells[1]);
}

bool isEmpty(const BayCell& c) {
    return c == BayCell{};
}

} // namespace

std::vector<ColumnResult> deriveHouse(const House& house) {
    std::vector<StoreyIndex> index;
    index.reserve(house.storeys.size());
    for (const Storey& s : house.storeys) {
        index.push_back(indexStorey(s));
    }
    const StoreyIndex* lowerIx = nullptr;
    const StoreyIndex* upperIx = nullptr;
    if (house.storeys.size() == 2) {
        for (const StoreyIndex& ix : index) {
            (ix.storey->number == 1 ? lowerIx : upperIx) = &ix;
        }
        if (lowerIx == nullptr || upperIx == nullptr) {
            lowerIx = upperIx = nullptr; // not storeys 1 and 2: each stands alone
        }
    }

    std::vector<ColumnResult> out;
    for (const StoreyIndex& ix : index) {
        const Storey& s = *ix.storey;
        const std::size_t first = out.size();
        for (std::size_t ci = 0; ci < s.columns.size(); ++ci) {
            const HouseColumn& col = s.columns[ci];
            ColumnResult r;
            r.storey = s.number;
            r.column = ci;
            r.at = col.at;
            r.name = columnName(house, col);
            r.through = col.through;
            r.corner = ix.isCorner(col.at);

            const bool lower = &ix == lowerIx && outlineCovers(upperIx->storey->outline, col.at);
            CalcConditions conditions{house.rules, s.heightCm, 0};
            FramePattern frame = singleStoreyFrame(r.corner);
            if (lower) {
                r.frame = HouseFrame::LowerStorey;
                r.upperColumn = upperIx->columns.count(col.at) != 0;
                r.upperCorner = r.upperColumn && upperIx->isCorner(col.at);
                conditions.h2Cm = upperIx->storey->heightCm;
                frame = lowerStoreyFrame(r.corner, r.upperCorner);
            }
            for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
                DirectionResult& dr = r.directions[static_cast<std::size_t>(d)];
                if (lower) {
                    setRow(dr.bays, 1, ix.baysAt(col.at, d));
                    if (r.upperColumn) {
                        setRow(dr.bays, 2, upperIx->baysAt(col.at, d));
                    }
                } else {
                    setRow(dr.bays, 2, ix.baysAt(col.at, d));
                }
                dr.result = calcFrame(dr.bays, frame, false, conditions);
            }
            r.governing =
                r.in(HouseDirection::Y).result.NValue > r.in(HouseDirection::X).result.NValue
                    ? HouseDirection::Y
                    : HouseDirection::X;
            if (&ix == upperIx && lowerIx->columns.count(col.at) == 0 && ix.hasWallEnd(col.at)) {
                r.warnings.push_back(
                    storeyLabel(house, s.number) + " " + r.name + ": " +
                    std::string(kNoColumnBelow) +
                    "（上階の壁の引抜きを下階の柱へ伝える経路は計算していません）");
            }
            out.push_back(std::move(r));
        }
        std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                  [](const ColumnResult& a, const ColumnResult& b) {
                      return std::pair(a.at.x, a.at.y) < std::pair(b.at.x, b.at.y);
                  });
    }
    return out;
}

std::optional<WindowFrame> windowFrameOf(const ColumnResult& c, HouseDirection d) {
    const BayTable& b = c.in(d).bays;
    WindowFrame w;
    if (c.frame == HouseFrame::SingleStorey) {
        const BayCell left = b.Cell(2, 1);
        const BayCell right = b.Cell(2, 2);
        if (!c.corner) {
            w.patternTag = 22;
            w.bays = b;
            return w;
        }
        // A corner column has its one bay right of it as drawn, left of it
        // when mirrored.
        w.patternTag = 21;
        if (!isEmpty(left) && !isEmpty(right)) {
            return std::nullopt;
        }
        w.mirrored = !isEmpty(left);
        w.bays.SetCell(2, w.mirrored ? 2 : 1, w.mirrored ? left : right);
        return w;
    }
    const BayCell l1 = b.Cell(1, 1);
    const BayCell r1 = b.Cell(1, 2);
    const BayCell l2 = b.Cell(2, 1);
    const BayCell r2 = b.Cell(2, 2);
    if (c.corner && c.upperCorner) {
        w.patternTag = 11;
        if (isEmpty(l1) && isEmpty(l2)) {
            w.bays.SetCell(1, 1, r1);
            w.bays.SetCell(2, 1, r2);
            return w;
        }
        if (isEmpty(r1) && isEmpty(r2)) {
            w.mirrored = true;
            w.bays.SetCell(1, 2, l1);
            w.bays.SetCell(2, 2, l2);
            return w;
        }
        return std::nullopt;
    }
    if (c.corner) {
        return std::nullopt; // upper その他 over lower 出隅: no pattern draws it
    }
    w.bays = b;
    if (!c.upperCorner) {
        w.patternTag = 13;
        return w;
    }
    w.patternTag = 12;
    if (isEmpty(l2)) {
        w.bays.SetCell(2, 1, BayCell{});
        return w;
    }
    if (isEmpty(r2)) {
        w.mirrored = true;
        return w;
    }
    return std::nullopt;
}

} // namespace koruba
