#include "columns/HouseFile.h"

#include "columns/BayToken.h"
#include "columns/HouseCheck.h"
#include "columns/JsonText.h"

#include <simdjson.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>
#include <vector>

namespace koruba::columns {

namespace dom = simdjson::dom;

namespace {

using Members = std::vector<std::pair<std::string_view, dom::element>>;

std::string quotedText(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

std::string child(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

std::string item(const std::string& path, std::size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

// The reading of one file: every step names the member it reads, and the
// first refusal ends the reading.
class Reader {
public:
    Reader(House& house, std::string& error) : h_(house), error_(error) {}

    bool read(dom::element root);

private:
    bool fail(const std::string& path, std::string_view what) {
        error_ = (path.empty() ? std::string("the file") : path) + ": " + std::string(what);
        return false;
    }

    bool object(dom::element e, const std::string& path,
                std::initializer_list<std::string_view> allowed, Members& out);
    bool required(const Members& m, const std::string& path, std::string_view key,
                  dom::element& out);
    static const dom::element* optional(const Members& m, std::string_view key);
    bool array(dom::element e, const std::string& path, dom::array& out);
    bool string(dom::element e, const std::string& path, std::string_view& out);
    bool integer(dom::element e, const std::string& path, std::int64_t& out);
    bool point(dom::element e, const std::string& path, GridPoint& out);
    bool grid(dom::element e, const std::string& path, std::vector<GridLine>& lines);
    bool rules(dom::element e, const std::string& path);
    bool height(dom::element e, const std::string& path, std::int32_t& cm);
    bool storey(dom::element e, const std::string& path, Storey& s);
    bool column(dom::element e, const std::string& path, HouseColumn& c);
    bool wall(dom::element e, const std::string& path, HouseWall& w);

    House& h_;
    std::string& error_;
    std::map<std::string_view, std::int32_t> xNames_;
    std::map<std::string_view, std::int32_t> yNames_;
};

bool Reader::object(dom::element e, const std::string& path,
                    std::initializer_list<std::string_view> allowed, Members& out) {
    dom::object obj;
    if (e.get_object().get(obj) != simdjson::SUCCESS) {
        return fail(path, "must be an object");
    }
    out.clear();
    for (const dom::key_value_pair kv : obj) {
        if (std::find(allowed.begin(), allowed.end(), kv.key) == allowed.end()) {
            return fail(path, "unknown member " + quotedText(kv.key));
        }
        if (optional(out, kv.key) != nullptr) {
            return fail(path, "the member " + quotedText(kv.key) + " appears twice");
        }
        out.emplace_back(kv.key, kv.value);
    }
    return true;
}

const dom::element* Reader::optional(const Members& m, std::string_view key) {
    for (const auto& [k, v] : m) {
        if (k == key) {
            return &v;
        }
    }
    return nullptr;
}

bool Reader::required(const Members& m, const std::string& path, std::string_view key,
                      dom::element& out) {
    const dom::element* e = optional(m, key);
    if (e == nullptr) {
        return fail(path, "the member " + quotedText(key) + " is missing");
    }
    out = *e;
    return true;
}

bool Reader::array(dom::element e, const std::string& path, dom::array& out) {
    if (e.get_array().get(out) != simdjson::SUCCESS) {
        return fail(path, "must be an array");
    }
    return true;
}

bool Reader::string(dom::element e, const std::string& path, std::string_view& out) {
    if (e.get_string().get(out) != simdjson::SUCCESS) {
        return fail(path, "must be a string");
    }
    return true;
}

bool Reader::integer(dom::element e, const std::string& path, std::int64_t& out) {
    if (!e.is_int64() || e.get_int64().get(out) != simdjson::SUCCESS) {
        return fail(path, "must be a whole number");
    }
    return true;
}

bool Reader::point(dom::element e, const std::string& path, GridPoint& out) {
    dom::array a;
    std::string_view x;
    std::string_view y;
    if (!array(e, path, a)) {
        return false;
    }
    if (a.size() != 2 || a.at(0).get(x) != simdjson::SUCCESS ||
        a.at(1).get(y) != simdjson::SUCCESS) {
        return fail(path, "a grid point is written as [\"X1\", \"Y2\"]");
    }
    const auto ix = xNames_.find(x);
    if (ix == xNames_.end()) {
        return fail(path, "no grid line " + quotedText(x) + " in grid.x");
    }
    const auto iy = yNames_.find(y);
    if (iy == yNames_.end()) {
        return fail(path, "no grid line " + quotedText(y) + " in grid.y");
    }
    out = {ix->second, iy->second};
    return true;
}

bool Reader::grid(dom::element e, const std::string& path, std::vector<GridLine>& lines) {
    dom::array a;
    if (!array(e, path, a)) {
        return false;
    }
    std::size_t i = 0;
    for (const dom::element line : a) {
        const std::string p = item(path, i++);
        dom::array pair;
        std::string_view name;
        std::int64_t mm = 0;
        if (!array(line, p, pair)) {
            return false;
        }
        if (pair.size() != 2) {
            return fail(p, "a grid line is written as [\"X1\", 910]: its name and millimetres");
        }
        if (!string(pair.at(0).value_unsafe(), p + "[0]", name)) {
            return false;
        }
        if (!pair.at(1).is_int64() || pair.at(1).get(mm) != simdjson::SUCCESS || mm < -1000000 ||
            mm > 1000000) {
            return fail(p + "[1]", "a position is a whole number of millimetres (within 1 km)");
        }
        lines.push_back({std::string(name), static_cast<std::int32_t>(mm)});
    }
    return true;
}

bool Reader::rules(dom::element e, const std::string& path) {
    std::string text;
    std::string_view s;
    std::int64_t n = 0;
    if (e.get_string().get(s) == simdjson::SUCCESS) {
        text = s;
    } else if (e.is_int64() && e.get_int64().get(n) == simdjson::SUCCESS) {
        text = std::to_string(n);
    } else {
        return fail(path, "must be 2000 or 2025");
    }
    std::string why;
    if (!parseRuleSet(text, h_.rules, why)) {
        return fail(path, quotedText(text) + " must be 2000 or 2025");
    }
    return true;
}

bool Reader::height(dom::element e, const std::string& path, std::int32_t& cm) {
    std::string text;
    std::string_view s;
    double d = 0.0;
    if (e.get_string().get(s) == simdjson::SUCCESS) {
        text = s;
    } else if (e.get_double().get(d) == simdjson::SUCCESS) {
        // The shortest text of the number is what the designer wrote, as
        // far as a double can tell: 2.9 for 2.90, 2.905 stays refused.
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, d);
        text.assign(buf, r.ptr);
    } else {
        return fail(path, "must be a number of metres");
    }
    std::string why;
    if (!parseStoreyHeight(text, cm, why)) {
        return fail(path, why);
    }
    return true;
}

bool Reader::column(dom::element e, const std::string& path, HouseColumn& c) {
    Members m;
    dom::element at;
    if (!object(e, path, {"at", "name", "through"}, m) || !required(m, path, "at", at) ||
        !point(at, child(path, "at"), c.at)) {
        return false;
    }
    if (const dom::element* name = optional(m, "name")) {
        std::string_view s;
        if (!string(*name, child(path, "name"), s)) {
            return false;
        }
        c.name = s;
    }
    if (const dom::element* through = optional(m, "through")) {
        if (through->get_bool().get(c.through) != simdjson::SUCCESS) {
            return fail(child(path, "through"), "must be true or false");
        }
    }
    return true;
}

bool Reader::wall(dom::element e, const std::string& path, HouseWall& w) {
    Members m;
    dom::element from;
    dom::element to;
    dom::element bay;
    std::string_view token;
    std::string why;
    if (!object(e, path, {"from", "to", "bay"}, m) || !required(m, path, "from", from) ||
        !required(m, path, "to", to) || !required(m, path, "bay", bay) ||
        !point(from, child(path, "from"), w.from) || !point(to, child(path, "to"), w.to) ||
        !string(bay, child(path, "bay"), token)) {
        return false;
    }
    if (!parseBayToken(token, w.bay, why)) {
        return fail(child(path, "bay"), why);
    }
    return true;
}

bool Reader::storey(dom::element e, const std::string& path, Storey& s) {
    Members m;
    dom::element number;
    dom::element outline;
    dom::element columns;
    std::int64_t n = 0;
    if (!object(e, path, {"storey", "height", "outline", "columns", "walls"}, m) ||
        !required(m, path, "storey", number) || !required(m, path, "outline", outline) ||
        !required(m, path, "columns", columns)) {
        return false;
    }
    if (!integer(number, child(path, "storey"), n) || (n != 1 && n != 2)) {
        return fail(child(path, "storey"), "must be 1 or 2");
    }
    s.number = static_cast<std::int32_t>(n);
    if (const dom::element* height = optional(m, "height")) {
        if (!this->height(*height, child(path, "height"), s.heightCm)) {
            return false;
        }
    }
    dom::array a;
    if (!array(outline, child(path, "outline"), a)) {
        return false;
    }
    std::size_t i = 0;
    for (const dom::element p : a) {
        s.outline.emplace_back();
        if (!point(p, item(child(path, "outline"), i++), s.outline.back())) {
            return false;
        }
    }
    if (!array(columns, child(path, "columns"), a)) {
        return false;
    }
    i = 0;
    for (const dom::element c : a) {
        s.columns.emplace_back();
        if (!column(c, item(child(path, "columns"), i++), s.columns.back())) {
            return false;
        }
    }
    if (const dom::element* walls = optional(m, "walls")) {
        if (!array(*walls, child(path, "walls"), a)) {
            return false;
        }
        i = 0;
        for (const dom::element w : a) {
            s.walls.emplace_back();
            if (!wall(w, item(child(path, "walls"), i++), s.walls.back())) {
                return false;
            }
        }
    }
    return true;
}

bool Reader::read(dom::element root) {
    Members m;
    dom::element e;
    std::string_view s;
    std::int64_t version = 0;
    if (!object(root, "", {"format", "version", "project", "designer", "rules", "grid", "storeys"},
                m) ||
        !required(m, "", "format", e) || !string(e, "format", s)) {
        return false;
    }
    if (s != kHouseFormat) {
        return fail("format", quotedText(s) + " is not a KORUBA-X house (\"koruba-x-house\")");
    }
    if (!required(m, "", "version", e) || !integer(e, "version", version)) {
        return false;
    }
    if (version != kHouseVersion) {
        return fail("version", "version " + std::to_string(version) +
                                   " is not known; this program reads version 1");
    }
    for (const auto& [key, field] :
         {std::pair("project", &h_.project), std::pair("designer", &h_.designer)}) {
        if (const dom::element* v = optional(m, key)) {
            if (!string(*v, key, s)) {
                return false;
            }
            *field = s;
        }
    }
    if (const dom::element* r = optional(m, "rules"); r != nullptr && !rules(*r, "rules")) {
        return false;
    }
    Members g;
    dom::element x;
    dom::element y;
    if (!required(m, "", "grid", e) || !object(e, "grid", {"x", "y"}, g) ||
        !required(g, "grid", "x", x) || !required(g, "grid", "y", y) ||
        !grid(x, "grid.x", h_.gridX) || !grid(y, "grid.y", h_.gridY)) {
        return false;
    }
    // The grid first: points are read by its names.
    if (auto problem = gridError(h_)) {
        error_ = *problem;
        return false;
    }
    for (std::size_t i = 0; i < h_.gridX.size(); ++i) {
        xNames_.emplace(h_.gridX[i].name, static_cast<std::int32_t>(i));
    }
    for (std::size_t i = 0; i < h_.gridY.size(); ++i) {
        yNames_.emplace(h_.gridY[i].name, static_cast<std::int32_t>(i));
    }
    dom::array storeys;
    if (!required(m, "", "storeys", e) || !array(e, "storeys", storeys)) {
        return false;
    }
    std::size_t i = 0;
    for (const dom::element st : storeys) {
        h_.storeys.emplace_back();
        const std::string p = item("storeys", i++);
        if (!storey(st, p, h_.storeys.back())) {
            return false;
        }
        for (std::size_t k = 0; k + 1 < h_.storeys.size(); ++k) {
            if (h_.storeys[k].number == h_.storeys.back().number) {
                return fail(p + ".storey",
                            "storey " + std::to_string(h_.storeys[k].number) + " appears twice");
            }
        }
    }
    if (auto problem = houseError(h_)) {
        error_ = *problem;
        return false;
    }
    return true;
}

// A point off the grid (a house that houseError would refuse) is written
// with an empty name, which reading refuses, rather than read out of range.
std::string_view lineName(const std::vector<GridLine>& lines, std::int32_t i) {
    return i >= 0 && static_cast<std::size_t>(i) < lines.size()
               ? std::string_view(lines[static_cast<std::size_t>(i)].name)
               : std::string_view();
}

void appendPoint(std::string& out, const House& h, GridPoint p) {
    out += '[';
    appendJsonString(out, lineName(h.gridX, p.x));
    out += ", ";
    appendJsonString(out, lineName(h.gridY, p.y));
    out += ']';
}

void appendGrid(std::string& out, const std::vector<GridLine>& lines) {
    out += '[';
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += i == 0 ? "" : ", ";
        out += '[';
        appendJsonString(out, lines[i].name);
        out += ", " + std::to_string(lines[i].positionMm) + "]";
    }
    out += ']';
}

template <typename T, typename F>
void appendLines(std::string& out, const char* key, const std::vector<T>& items, F each,
                 bool last) {
    out += "      \"";
    out += key;
    out += "\": [";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += i == 0 ? "\n        " : ",\n        ";
        each(items[i]);
    }
    out += items.empty() ? "]" : "\n      ]";
    out += last ? "\n" : ",\n";
}

} // namespace

bool readHouse(std::string_view text, House& house, std::string& error) {
    // Editors on Windows may start a UTF-8 file with a byte order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    dom::parser parser;
    dom::element root;
    if (const auto e = parser.parse(text.data(), text.size()).get(root)) {
        error = std::string("the file is not readable JSON: ") + simdjson::error_message(e);
        return false;
    }
    House read;
    Reader reader(read, error);
    if (!reader.read(root)) {
        return false;
    }
    house = std::move(read);
    return true;
}

std::string writeHouse(const House& h) {
    std::string out = "{\n  \"format\": ";
    appendJsonString(out, kHouseFormat);
    out += ",\n  \"version\": " + std::to_string(kHouseVersion) + ",\n  \"project\": ";
    appendJsonString(out, h.project);
    out += ",\n  \"designer\": ";
    appendJsonString(out, h.designer);
    out += ",\n  \"rules\": " + std::to_string(static_cast<std::int32_t>(h.rules)) + ",\n";
    out += "  \"grid\": {\n    \"x\": ";
    appendGrid(out, h.gridX);
    out += ",\n    \"y\": ";
    appendGrid(out, h.gridY);
    out += "\n  },\n  \"storeys\": [";
    for (std::size_t si = 0; si < h.storeys.size(); ++si) {
        const Storey& s = h.storeys[si];
        out += si == 0 ? "\n    {\n" : ",\n    {\n";
        out += "      \"storey\": " + std::to_string(s.number) + ",\n";
        if (s.heightCm != 0) {
            out += "      \"height\": " + storeyHeightText(s.heightCm) + ",\n";
        }
        out += "      \"outline\": [";
        for (std::size_t i = 0; i < s.outline.size(); ++i) {
            out += i == 0 ? "" : ", ";
            appendPoint(out, h, s.outline[i]);
        }
        out += "],\n";
        appendLines(
            out, "columns", s.columns,
            [&](const HouseColumn& c) {
                out += "{\"at\": ";
                appendPoint(out, h, c.at);
                if (!c.name.empty()) {
                    out += ", \"name\": ";
                    appendJsonString(out, c.name);
                }
                out += c.through ? ", \"through\": true}" : "}";
            },
            false);
        appendLines(
            out, "walls", s.walls,
            [&](const HouseWall& w) {
                out += "{\"from\": ";
                appendPoint(out, h, w.from);
                out += ", \"to\": ";
                appendPoint(out, h, w.to);
                out += ", \"bay\": ";
                appendJsonString(out, bayTokenOf(w.bay));
                out += '}';
            },
            true);
        out += "    }";
    }
    out += h.storeys.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

} // namespace koruba::columns
