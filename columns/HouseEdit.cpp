#include "columns/HouseEdit.h"

#include <algorithm>
#include <functional>

namespace koruba::columns {

namespace {

bool onGrid(const House& h, GridPoint p) {
    return p.x >= 0 && p.y >= 0 && static_cast<std::size_t>(p.x) < h.gridX.size() &&
           static_cast<std::size_t>(p.y) < h.gridY.size();
}

std::string noStorey(std::int32_t number) {
    return std::to_string(number) + "階がありません";
}

HouseColumn* columnAt(Storey& s, GridPoint at) {
    for (HouseColumn& c : s.columns) {
        if (c.at == at) {
            return &c;
        }
    }
    return nullptr;
}

void ensureColumn(Storey& s, GridPoint at) {
    if (columnAt(s, at) == nullptr) {
        s.columns.push_back(HouseColumn{at, {}, false});
    }
}

bool emptyBay(const BayCell& bay) {
    return bay.BraceKind == NoBrace && bay.PanelOn != 1;
}

// Whether the spans [lo0, hi0] and [lo1, hi1] along one line share more
// than an end.
bool overlaps(std::int32_t lo0, std::int32_t hi0, std::int32_t lo1, std::int32_t hi1) {
    return lo0 < hi1 && lo1 < hi0;
}

std::vector<GridLine>& linesOf(House& h, HouseDirection d) {
    return d == HouseDirection::X ? h.gridX : h.gridY;
}

bool nameTaken(const House& h, const std::string& name, const GridLine* except) {
    for (const auto* lines : {&h.gridX, &h.gridY}) {
        for (const GridLine& line : *lines) {
            if (&line != except && line.name == name) {
                return true;
            }
        }
    }
    return false;
}

// Every grid point of the house, for renumbering lines.
void forEachPoint(House& h, const std::function<void(GridPoint&)>& f) {
    for (Storey& s : h.storeys) {
        for (GridPoint& p : s.outline) {
            f(p);
        }
        for (HouseColumn& c : s.columns) {
            f(c.at);
        }
        for (HouseWall& w : s.walls) {
            f(w.from);
            f(w.to);
        }
    }
}

std::optional<std::string> checkWallIndex(const Storey* s, std::int32_t storey, std::size_t wall) {
    if (s == nullptr) {
        return noStorey(storey);
    }
    if (wall >= s->walls.size()) {
        return std::string("その壁はありません");
    }
    return std::nullopt;
}

} // namespace

House newHouse() {
    House h;
    h.rules = RuleSet::Notice2000;
    for (std::int32_t i = 0; i < 5; ++i) {
        h.gridX.push_back({"X" + std::to_string(i), i * kModuleMm});
        h.gridY.push_back({"Y" + std::to_string(i), i * kModuleMm});
    }
    h.storeys.push_back(Storey{1, 0, {}, {}, {}});
    return h;
}

Storey* findStorey(House& house, std::int32_t number) {
    for (Storey& s : house.storeys) {
        if (s.number == number) {
            return &s;
        }
    }
    return nullptr;
}

const Storey* findStorey(const House& house, std::int32_t number) {
    for (const Storey& s : house.storeys) {
        if (s.number == number) {
            return &s;
        }
    }
    return nullptr;
}

std::optional<std::size_t> wallBetween(const Storey& storey, GridPoint a, GridPoint b) {
    for (std::size_t i = 0; i < storey.walls.size(); ++i) {
        const HouseWall& w = storey.walls[i];
        if ((w.from == a && w.to == b) || (w.from == b && w.to == a)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> placeWall(House& house, std::int32_t storey, GridPoint a, GridPoint b,
                                     const BayCell& bay) {
    Storey* s = findStorey(house, storey);
    if (s == nullptr) {
        return noStorey(storey);
    }
    if (!onGrid(house, a) || !onGrid(house, b)) {
        return std::string("壁の端が通り芯の交点にありません");
    }
    if (a == b) {
        return std::string("壁には異なる2点が必要です");
    }
    if (a.x != b.x && a.y != b.y) {
        return "壁は1本の通り芯に沿って置きます（" + gridPointName(house, a) + " と " +
               gridPointName(house, b) + "）";
    }
    if (emptyBay(bay)) {
        return std::string("筋かいも面材もない壁は置けません");
    }
    const bool alongX = a.y == b.y;
    const std::int32_t lo = alongX ? std::min(a.x, b.x) : std::min(a.y, b.y);
    const std::int32_t hi = alongX ? std::max(a.x, b.x) : std::max(a.y, b.y);
    auto pointAt = [&](std::int32_t k) { return alongX ? GridPoint{k, a.y} : GridPoint{a.x, k}; };
    for (const HouseWall& w : s->walls) {
        if ((w.from.y == w.to.y) != alongX || (alongX ? w.from.y != a.y : w.from.x != a.x)) {
            continue;
        }
        const std::int32_t wlo = alongX ? std::min(w.from.x, w.to.x) : std::min(w.from.y, w.to.y);
        const std::int32_t whi = alongX ? std::max(w.from.x, w.to.x) : std::max(w.from.y, w.to.y);
        if (overlaps(lo, hi, wlo, whi)) {
            return "そこには壁があります（" + gridPointName(house, w.from) + " – " +
                   gridPointName(house, w.to) + "）";
        }
    }
    // One wall per bay between the columns the stretch passes.
    std::vector<std::int32_t> stops{lo};
    for (std::int32_t k = lo + 1; k < hi; ++k) {
        if (columnAt(*s, pointAt(k)) != nullptr) {
            stops.push_back(k);
        }
    }
    stops.push_back(hi);
    ensureColumn(*s, pointAt(lo));
    ensureColumn(*s, pointAt(hi));
    for (std::size_t i = 1; i < stops.size(); ++i) {
        s->walls.push_back(HouseWall{pointAt(stops[i - 1]), pointAt(stops[i]), bay});
    }
    return std::nullopt;
}

std::optional<std::string> setWallBay(House& house, std::int32_t storey, std::size_t wall,
                                      const BayCell& bay) {
    Storey* s = findStorey(house, storey);
    if (auto e = checkWallIndex(s, storey, wall)) {
        return e;
    }
    if (emptyBay(bay)) {
        return removeWall(house, storey, wall);
    }
    s->walls[wall].bay = bay;
    return std::nullopt;
}

std::optional<std::string> removeWall(House& house, std::int32_t storey, std::size_t wall) {
    Storey* s = findStorey(house, storey);
    if (auto e = checkWallIndex(s, storey, wall)) {
        return e;
    }
    s->walls.erase(s->walls.begin() + static_cast<std::ptrdiff_t>(wall));
    return std::nullopt;
}

std::optional<std::string> flipWallBrace(House& house, std::int32_t storey, std::size_t wall) {
    Storey* s = findStorey(house, storey);
    if (auto e = checkWallIndex(s, storey, wall)) {
        return e;
    }
    BayCell& bay = s->walls[wall].bay;
    if (bay.BraceKind == BraceRisingRight) {
        bay.BraceKind = BraceRisingLeft;
    } else if (bay.BraceKind == BraceRisingLeft) {
        bay.BraceKind = BraceRisingRight;
    } else {
        return std::string("向きを変えられるのは片筋かいだけです");
    }
    return std::nullopt;
}

std::optional<std::string> addColumn(House& house, std::int32_t storey, GridPoint at) {
    Storey* s = findStorey(house, storey);
    if (s == nullptr) {
        return noStorey(storey);
    }
    if (!onGrid(house, at)) {
        return std::string("柱は通り芯の交点に置きます");
    }
    if (columnAt(*s, at) != nullptr) {
        return gridPointName(house, at) + " には柱があります";
    }
    s->columns.push_back(HouseColumn{at, {}, false});
    return std::nullopt;
}

std::optional<std::string> removeColumn(House& house, std::int32_t storey, GridPoint at) {
    Storey* s = findStorey(house, storey);
    if (s == nullptr) {
        return noStorey(storey);
    }
    const auto it = std::find_if(s->columns.begin(), s->columns.end(),
                                 [at](const HouseColumn& c) { return c.at == at; });
    if (it == s->columns.end()) {
        return gridPointName(house, at) + " に柱はありません";
    }
    for (const HouseWall& w : s->walls) {
        if (w.from == at || w.to == at) {
            return gridPointName(house, at) + " の柱には壁が取り付いています";
        }
    }
    if (std::find(s->outline.begin(), s->outline.end(), at) != s->outline.end()) {
        return gridPointName(house, at) + " の柱は外周の角にあります";
    }
    s->columns.erase(it);
    return std::nullopt;
}

std::optional<std::string> setColumnName(House& house, std::int32_t storey, GridPoint at,
                                         const std::string& name) {
    Storey* s = findStorey(house, storey);
    HouseColumn* c = s != nullptr ? columnAt(*s, at) : nullptr;
    if (c == nullptr) {
        return gridPointName(house, at) + " に柱はありません";
    }
    c->name = name == gridPointName(house, at) ? std::string() : name;
    return std::nullopt;
}

std::optional<std::string> setColumnThrough(House& house, std::int32_t storey, GridPoint at,
                                            bool through) {
    Storey* s = findStorey(house, storey);
    HouseColumn* c = s != nullptr ? columnAt(*s, at) : nullptr;
    if (c == nullptr) {
        return gridPointName(house, at) + " に柱はありません";
    }
    c->through = through;
    return std::nullopt;
}

std::optional<std::string> setOutline(House& house, std::int32_t storey,
                                      const std::vector<GridPoint>& outline) {
    Storey* s = findStorey(house, storey);
    if (s == nullptr) {
        return noStorey(storey);
    }
    if (outline.size() < 4) {
        return std::string("外周には4点以上が必要です");
    }
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const GridPoint p = outline[i];
        const GridPoint q = outline[(i + 1) % outline.size()];
        if (!onGrid(house, p)) {
            return std::string("外周の点が通り芯の交点にありません");
        }
        if (p.x != q.x && p.y != q.y) {
            return "外周の辺は通り芯に沿って引きます（" + gridPointName(house, p) + " – " +
                   gridPointName(house, q) + "）";
        }
    }
    s->outline = outline;
    for (const GridPoint p : outline) {
        ensureColumn(*s, p);
    }
    return std::nullopt;
}

std::optional<std::string> moveOutlineVertex(House& house, std::int32_t storey, std::size_t vertex,
                                             GridPoint to) {
    Storey* s = findStorey(house, storey);
    if (s == nullptr) {
        return noStorey(storey);
    }
    std::vector<GridPoint>& o = s->outline;
    if (vertex >= o.size() || o.size() < 4) {
        return std::string("外周のその角はありません");
    }
    if (!onGrid(house, to)) {
        return std::string("外周の点が通り芯の交点にありません");
    }
    const std::size_t n = o.size();
    const GridPoint from = o[vertex];
    for (const std::size_t k : {(vertex + n - 1) % n, (vertex + 1) % n}) {
        // The edge to the neighbour keeps its direction.
        if (o[k].x == from.x) {
            o[k].x = to.x;
        } else {
            o[k].y = to.y;
        }
    }
    o[vertex] = to;
    for (const GridPoint p : o) {
        ensureColumn(*s, p);
    }
    // Columns the smaller outline leaves outside go, unless a wall ends at
    // one (the house check then says why the edit cannot be).
    const auto outside = [s, &o](const HouseColumn& c) {
        const bool wallEnd =
            std::any_of(s->walls.begin(), s->walls.end(),
                        [&c](const HouseWall& w) { return w.from == c.at || w.to == c.at; });
        return !wallEnd && !outlineCovers(o, c.at);
    };
    s->columns.erase(std::remove_if(s->columns.begin(), s->columns.end(), outside),
                     s->columns.end());
    return std::nullopt;
}

std::optional<std::string> addGridLine(House& house, HouseDirection direction,
                                       const std::string& name, std::int32_t positionMm) {
    if (name.empty() || nameTaken(house, name, nullptr)) {
        return "通り芯の名前 \"" + name + "\" は使えません（空か、使用済み）";
    }
    std::vector<GridLine>& lines = linesOf(house, direction);
    const auto at = std::lower_bound(
        lines.begin(), lines.end(), positionMm,
        [](const GridLine& line, std::int32_t mm) { return line.positionMm < mm; });
    if (at != lines.end() && at->positionMm == positionMm) {
        return "その位置には通り芯 " + at->name + " があります";
    }
    const auto index = static_cast<std::int32_t>(at - lines.begin());
    lines.insert(at, GridLine{name, positionMm});
    forEachPoint(house, [direction, index](GridPoint& p) {
        std::int32_t& k = direction == HouseDirection::X ? p.x : p.y;
        if (k >= index) {
            ++k;
        }
    });
    return std::nullopt;
}

std::optional<std::string> moveGridLine(House& house, HouseDirection direction, std::size_t line,
                                        std::int32_t positionMm) {
    std::vector<GridLine>& lines = linesOf(house, direction);
    if (line >= lines.size()) {
        return std::string("その通り芯はありません");
    }
    if ((line > 0 && lines[line - 1].positionMm >= positionMm) ||
        (line + 1 < lines.size() && lines[line + 1].positionMm <= positionMm)) {
        return "通り芯 " + lines[line].name + " は隣の通り芯を越えて動かせません";
    }
    lines[line].positionMm = positionMm;
    return std::nullopt;
}

std::optional<std::string> renameGridLine(House& house, HouseDirection direction, std::size_t line,
                                          const std::string& name) {
    std::vector<GridLine>& lines = linesOf(house, direction);
    if (line >= lines.size()) {
        return std::string("その通り芯はありません");
    }
    if (name.empty() || nameTaken(house, name, &lines[line])) {
        return "通り芯の名前 \"" + name + "\" は使えません（空か、使用済み）";
    }
    lines[line].name = name;
    return std::nullopt;
}

std::optional<std::string> deleteGridLine(House& house, HouseDirection direction,
                                          std::size_t line) {
    std::vector<GridLine>& lines = linesOf(house, direction);
    if (line >= lines.size()) {
        return std::string("その通り芯はありません");
    }
    if (lines.size() == 1) {
        return std::string("各方向に通り芯が1本は必要です");
    }
    const auto index = static_cast<std::int32_t>(line);
    bool used = false;
    forEachPoint(house, [&](GridPoint& p) {
        used = used || (direction == HouseDirection::X ? p.x : p.y) == index;
    });
    if (used) {
        return "通り芯 " + lines[line].name + " には柱・壁・外周があります";
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(line));
    forEachPoint(house, [direction, index](GridPoint& p) {
        std::int32_t& k = direction == HouseDirection::X ? p.x : p.y;
        if (k > index) {
            --k;
        }
    });
    return std::nullopt;
}

std::string nextGridLineName(const House& house, HouseDirection direction) {
    const std::string prefix = direction == HouseDirection::X ? "X" : "Y";
    for (std::size_t n = (direction == HouseDirection::X ? house.gridX : house.gridY).size();;
         ++n) {
        const std::string name = prefix + std::to_string(n);
        if (!nameTaken(house, name, nullptr)) {
            return name;
        }
    }
}

std::optional<std::string> addUpperStorey(House& house) {
    if (house.storeys.size() != 1) {
        return std::string("2階はすでにあります");
    }
    house.storeys.push_back(Storey{2, house.storeys.front().heightCm, {}, {}, {}});
    return std::nullopt;
}

std::optional<std::string> removeUpperStorey(House& house) {
    const auto it = std::find_if(house.storeys.begin(), house.storeys.end(),
                                 [](const Storey& s) { return s.number == 2; });
    if (it == house.storeys.end()) {
        return std::string("2階はありません");
    }
    house.storeys.erase(it);
    return std::nullopt;
}

} // namespace koruba::columns
