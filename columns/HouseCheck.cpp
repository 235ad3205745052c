#include "columns/HouseCheck.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace koruba::columns {

namespace {

std::string member(std::size_t storey, const char* name, std::size_t i) {
    return "storeys[" + std::to_string(storey) + "]." + name + "[" + std::to_string(i) + "]";
}

bool onGrid(const House& h, GridPoint p) {
    return p.x >= 0 && p.y >= 0 && static_cast<std::size_t>(p.x) < h.gridX.size() &&
           static_cast<std::size_t>(p.y) < h.gridY.size();
}

std::optional<std::string> gridError(const std::vector<GridLine>& lines, const char* axis,
                                     std::set<std::string>& names) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string m = std::string("grid.") + axis + "[" + std::to_string(i) + "]";
        if (lines[i].name.empty()) {
            return m + ": a grid line needs a name";
        }
        if (!names.insert(lines[i].name).second) {
            return m + ": grid name \"" + lines[i].name + "\" is used twice";
        }
        if (i > 0 && lines[i].positionMm <= lines[i - 1].positionMm) {
            return m + " (" + lines[i].name + " at " + std::to_string(lines[i].positionMm) +
                   " mm): grid lines must be strictly increasing, but " + lines[i - 1].name +
                   " is at " + std::to_string(lines[i - 1].positionMm) + " mm";
        }
    }
    if (lines.empty()) {
        return std::string("grid.") + axis + ": at least one grid line is needed";
    }
    return std::nullopt;
}

// Whether two axis-parallel segments share a point.
bool segmentsMeet(GridPoint a, GridPoint b, GridPoint c, GridPoint d) {
    const auto [ax0, ax1] = std::minmax(a.x, b.x);
    const auto [ay0, ay1] = std::minmax(a.y, b.y);
    const auto [cx0, cx1] = std::minmax(c.x, d.x);
    const auto [cy0, cy1] = std::minmax(c.y, d.y);
    return ax0 <= cx1 && cx0 <= ax1 && ay0 <= cy1 && cy0 <= ay1;
}

std::optional<std::string> outlineError(const House& h, std::size_t si) {
    const Storey& s = h.storeys[si];
    const std::string m = "storeys[" + std::to_string(si) + "].outline";
    const std::vector<GridPoint>& o = s.outline;
    const std::size_t n = o.size();
    if (n > 1 && o[n - 1] == o[0]) {
        return m + ": the first point " + gridPointName(h, o[0]) +
               " is written again at the end; an outline lists each vertex once and closes "
               "by itself";
    }
    std::set<GridPoint> seen;
    for (std::size_t i = 0; i < n; ++i) {
        if (!onGrid(h, o[i])) {
            return m + "[" + std::to_string(i) + "]: not a grid point";
        }
        if (!seen.insert(o[i]).second) {
            return m + "[" + std::to_string(i) + "] (" + gridPointName(h, o[i]) +
                   "): the point appears twice in the outline";
        }
    }
    if (n < 4) {
        return m + ": a closed outline needs at least four points";
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        if (o[i].x != o[i + 1].x && o[i].y != o[i + 1].y) {
            return m + "[" + std::to_string(i) + "] to [" + std::to_string(i + 1) + "] (" +
                   gridPointName(h, o[i]) + " to " + gridPointName(h, o[i + 1]) +
                   "): an outline edge must run along one grid line";
        }
    }
    if (o[n - 1].x != o[0].x && o[n - 1].y != o[0].y) {
        return m + ": the outline is not closed: from its last point " +
               gridPointName(h, o[n - 1]) + " back to its first " + gridPointName(h, o[0]) +
               " is not along one grid line";
    }
    for (std::size_t i = 0; i < n; ++i) {
        const GridPoint a = o[i];
        const GridPoint b = o[(i + 1) % n];
        // The next edge turning straight back runs over this one.
        const GridPoint c = o[(i + 2) % n];
        const bool foldsBack = (a.x == b.x && b.x == c.x && (b.y - a.y) * (c.y - b.y) < 0) ||
                               (a.y == b.y && b.y == c.y && (b.x - a.x) * (c.x - b.x) < 0);
        if (foldsBack) {
            return m + ": the outline crosses itself: it turns back on itself at " +
                   gridPointName(h, b);
        }
        for (std::size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) {
                continue; // neighbours through the closing point
            }
            if (segmentsMeet(a, b, o[j], o[(j + 1) % n])) {
                return m + ": the outline crosses itself: the edge " + gridPointName(h, a) +
                       " to " + gridPointName(h, b) + " meets the edge " + gridPointName(h, o[j]) +
                       " to " + gridPointName(h, o[(j + 1) % n]);
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        const bool column = std::any_of(s.columns.begin(), s.columns.end(),
                                        [&](const HouseColumn& c) { return c.at == o[i]; });
        if (!column) {
            return m + "[" + std::to_string(i) + "] (" + gridPointName(h, o[i]) +
                   "): no column of storey " + std::to_string(s.number) +
                   " stands at this outline vertex";
        }
    }
    return std::nullopt;
}

std::optional<std::string> columnsError(const House& h, std::size_t si) {
    const Storey& s = h.storeys[si];
    std::set<GridPoint> points;
    std::set<std::string> names;
    for (std::size_t i = 0; i < s.columns.size(); ++i) {
        const HouseColumn& c = s.columns[i];
        const std::string m = member(si, "columns", i);
        if (!onGrid(h, c.at)) {
            return m + ": not a grid point";
        }
        const std::string place = " (" + gridPointName(h, c.at) + ")";
        if (!points.insert(c.at).second) {
            return m + place + ": a second column at the same grid point";
        }
        if (!names.insert(columnName(h, c)).second) {
            return m + place + ": the name \"" + columnName(h, c) +
                   "\" is used by another column of the storey";
        }
        if (!outlineCovers(s.outline, c.at)) {
            return m + place + ": the column stands outside the outline of storey " +
                   std::to_string(s.number);
        }
    }
    return std::nullopt;
}

std::optional<std::string> wallsError(const House& h, std::size_t si) {
    const Storey& s = h.storeys[si];
    std::set<GridPoint> columns;
    for (const HouseColumn& c : s.columns) {
        columns.insert(c.at);
    }
    // By line (direction, line index): the walls' spans along it.
    std::map<std::pair<int, std::int32_t>,
             std::vector<std::tuple<std::int32_t, std::int32_t, std::size_t>>>
        lines;
    for (std::size_t i = 0; i < s.walls.size(); ++i) {
        const HouseWall& w = s.walls[i];
        const std::string m = member(si, "walls", i);
        if (!onGrid(h, w.from) || !onGrid(h, w.to)) {
            return m + ": an end is not a grid point";
        }
        const std::string place =
            " (" + gridPointName(h, w.from) + " to " + gridPointName(h, w.to) + ")";
        if (w.from == w.to) {
            return m + place + ": a wall needs two different points";
        }
        if (w.from.x != w.to.x && w.from.y != w.to.y) {
            return m + place + ": a wall must run along one grid line";
        }
        for (const GridPoint end : {w.from, w.to}) {
            if (columns.count(end) == 0) {
                return m + place + ": the wall end " + gridPointName(h, end) +
                       " is not a column of storey " + std::to_string(s.number);
            }
        }
        const bool alongX = w.from.y == w.to.y;
        const std::int32_t lo = alongX ? std::min(w.from.x, w.to.x) : std::min(w.from.y, w.to.y);
        const std::int32_t hi = alongX ? std::max(w.from.x, w.to.x) : std::max(w.from.y, w.to.y);
        for (std::int32_t k = lo; k <= hi; ++k) {
            const GridPoint p = alongX ? GridPoint{k, w.from.y} : GridPoint{w.from.x, k};
            if (k > lo && k < hi && columns.count(p) != 0) {
                return m + place + ": the column " + gridPointName(h, p) +
                       " stands inside the wall; split the wall there";
            }
            // The outline bends at grid points only: the middle of each
            // grid segment tells whether the wall leaves it.
            if (k < hi && !outlineCoversTwice(s.outline, alongX ? 2 * k + 1 : 2 * p.x,
                                              alongX ? 2 * p.y : 2 * k + 1)) {
                return m + place + ": the wall runs outside the outline of storey " +
                       std::to_string(s.number);
            }
        }
        lines[{alongX ? 0 : 1, alongX ? w.from.y : w.from.x}].emplace_back(lo, hi, i);
    }
    for (auto& [line, spans] : lines) {
        std::sort(spans.begin(), spans.end());
        for (std::size_t k = 1; k < spans.size(); ++k) {
            const auto [lo0, hi0, i0] = spans[k - 1];
            const auto [lo1, hi1, i1] = spans[k];
            if (lo1 < hi0) {
                const auto [first, second] = std::minmax(i0, i1);
                return member(si, "walls", second) + ": the wall overlaps " +
                       member(si, "walls", first) + " on grid line " +
                       (line.first == 0 ? h.gridY[static_cast<std::size_t>(line.second)].name
                                        : h.gridX[static_cast<std::size_t>(line.second)].name);
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> gridError(const House& h) {
    std::set<std::string> names;
    if (auto e = gridError(h.gridX, "x", names)) {
        return e;
    }
    return gridError(h.gridY, "y", names);
}

std::optional<std::string> houseError(const House& h) {
    if (auto e = gridError(h)) {
        return e;
    }
    if (h.rules != RuleSet::Notice2000 && h.rules != RuleSet::Revision2025) {
        return "rules: must be 2000 or 2025";
    }
    const std::size_t n = h.storeys.size();
    const bool numbersOk = (n == 1 && h.storeys[0].number == 1) ||
                           (n == 2 && h.storeys[0].number + h.storeys[1].number == 3 &&
                            h.storeys[0].number != h.storeys[1].number);
    if (!numbersOk) {
        return std::string("storeys: a house has storey 1 alone (平屋) or storeys 1 and 2, "
                           "each once");
    }
    for (std::size_t si = 0; si < n; ++si) {
        const Storey& s = h.storeys[si];
        const std::string m = "storeys[" + std::to_string(si) + "]";
        if (s.heightCm != 0 && !isValidStoreyHeight(s.heightCm)) {
            return m + ".height: " + storeyHeightText(s.heightCm) +
                   " m is outside the storey heights " + storeyHeightText(kMinStoreyHeightCm) +
                   " to " + storeyHeightText(kMaxStoreyHeightCm) + " m";
        }
        if (s.heightCm == 0 && h.rules == RuleSet::Revision2025) {
            return m + ": the 2025 rules need the height of storey " + std::to_string(s.number);
        }
        if (auto e = outlineError(h, si)) {
            return e;
        }
        if (auto e = columnsError(h, si)) {
            return e;
        }
        if (auto e = wallsError(h, si)) {
            return e;
        }
    }
    return std::nullopt;
}

} // namespace koruba::columns
