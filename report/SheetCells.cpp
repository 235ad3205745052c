#include "report/SheetCells.h"

#include "calc/LibCal_Nti.h"
#include "calc/NumberFormat.h"
#include "calc/PatternTable.h"
#include "calc/ResultText.h"
#include "calc/RuleText.h"

#include <algorithm>

namespace koruba {

namespace {

constexpr std::string_view kNone = "—";
// The symbol column of a result beyond the notification's table.
const std::string kBeyondTable = "表外";

// The terms of the storey drawn on the given line: the upper line of a
// two-storey row is the storey above (A2), the other line the column's own
// storey (A1).
struct StoreyTerms {
    float left, right, corr, a, b;
    std::int32_t heightCm;
};

StoreyTerms termsOf(const ResultType& r, std::int32_t storeys, int line) {
    if (storeys == 2 && line == 0) {
        return {r.WallA2Left, r.WallA2Right, r.CorrA2, r.A2, r.B2, r.H2Cm};
    }
    return {r.WallA1Left, r.WallA1Right, r.CorrA1, r.A1, r.B1, r.H1Cm};
}

// The notification's B is 0.8 for a corner column (出隅) and 0.5 for any
// other, so the pattern's factors say which the column is in each storey
// (pattern 12 is a corner column above and an inner one below).
std::string positionText(std::int32_t patternTag, std::int32_t storeys, int line) {
    const FramePattern& p = *framePattern(patternTag);
    const float b = storeys == 2 && line == 0 ? p.b2 : p.b1;
    return b > 0.6f ? "出隅" : "その他";
}

std::string resultCell(const SheetRow& row, SheetColumn column, int line) {
    const ResultType& r = *row.result;
    const std::int32_t storeys = storeyCountOf(row);
    const StoreyTerms t = termsOf(r, storeys, line);
    const bool heights = r.Rules == RuleSet::Revision2025;
    switch (column) {
    case SheetColumn::WallLeft:
        return F1(t.left);
    case SheetColumn::WallRight:
        return F1(t.right);
    case SheetColumn::Correction:
        return F1(t.corr);
    case SheetColumn::A:
        return F1(t.a);
    case SheetColumn::B:
        return F1(t.b);
    case SheetColumn::Height:
        return heights ? storeyHeightText(t.heightCm) : std::string(kNone);
    case SheetColumn::HeightFactor:
        // As the window writes it: the exact fraction, from which N can be
        // recomputed.
        return heights ? heightFactorValueText(r.Rules, t.heightCm) : std::string(kNone);
    case SheetColumn::L:
        return F1(r.L);
    case SheetColumn::N:
        return F2(r.NValue);
    case SheetColumn::PullOut:
        return F2(r.PullOut);
    // Beyond the notification's table there is no notice symbol: the
    // sheet states the rule in words and names the reference hardware (the
    // last class) only as such, or none above it.
    case SheetColumn::Symbol:
        return beyondNoticeTable(r.JointClass) ? kBeyondTable : std::string(r.JointSymbol);
    case SheetColumn::Hardware:
        if (!beyondNoticeTable(r.JointClass)) {
            return std::string(r.JointName);
        }
        return beyondTableText(r.NValue) +
               (r.JointClass == 0 ? std::string() : "（参考：" + std::string(r.JointName) + "）");
    case SheetColumn::Strength:
        return beyondNoticeTable(r.JointClass) ? "≧" + beyondTableStrengthText(r.NValue)
                                               : strengthValueText(r);
    default:
        return {};
    }
}

std::string positionWord(bool corner) {
    return corner ? "出隅" : "その他";
}

std::string houseCell(const SheetRow& row, SheetColumn column, int line) {
    const ColumnResult& c = row.house->column;
    const auto d = line == 0 ? HouseDirection::X : HouseDirection::Y;
    const ResultType& r = c.in(d).result;
    const bool heights = r.Rules == RuleSet::Revision2025;
    // Without a column above, a lower column has no upper term at all.
    const bool upper = c.frame == HouseFrame::LowerStorey && c.upperColumn;
    switch (column) {
    case SheetColumn::Name:
        return row.name;
    case SheetColumn::Position:
        if (c.frame == HouseFrame::SingleStorey) {
            return positionWord(c.corner);
        }
        return "1階 " + positionWord(c.corner) + "\n2階 " +
               (c.upperColumn ? positionWord(c.upperCorner) : std::string("柱なし"));
    case SheetColumn::Direction:
        return line == 0 ? "X" : "Y";
    case SheetColumn::A:
        return F1(r.A1);
    case SheetColumn::B:
        return F1(r.B1);
    case SheetColumn::HeightFactor:
        return heights ? heightFactorValueText(r.Rules, r.H1Cm) : std::string(kNone);
    case SheetColumn::A2:
        return upper ? F1(r.A2) : std::string(kNone);
    case SheetColumn::B2:
        return upper ? F1(r.B2) : std::string(kNone);
    case SheetColumn::HeightFactor2:
        return upper && heights ? heightFactorValueText(r.Rules, r.H2Cm) : std::string(kNone);
    case SheetColumn::L:
        return F1(r.L);
    case SheetColumn::DirectionN:
        return F2(r.NValue);
    case SheetColumn::Governing:
        return c.governing == HouseDirection::X ? "X" : "Y";
    default:
        return resultCell(row, column, 0);
    }
}

} // namespace

std::vector<SheetColumn> houseSheetColumns(HouseTable table, bool withHeights) {
    using C = SheetColumn;
    std::vector<C> columns{C::Name, C::Position, C::Direction, C::A, C::B};
    if (withHeights) {
        columns.push_back(C::HeightFactor);
    }
    if (table == HouseTable::Lower) {
        columns.insert(columns.end(), {C::A2, C::B2});
        if (withHeights) {
            columns.push_back(C::HeightFactor2);
        }
    }
    columns.insert(columns.end(), {C::L, C::DirectionN, C::Governing, C::N, C::PullOut, C::Symbol,
                                   C::Hardware, C::Strength});
    return columns;
}

std::string_view houseColumnHeader(SheetColumn column) {
    // The terms as the formulas above the tables name them.
    switch (column) {
    case SheetColumn::Name:
        return "柱\n（通り芯）";
    case SheetColumn::Direction:
        return "方向";
    case SheetColumn::A:
        return "A1";
    case SheetColumn::B:
        return "B1";
    case SheetColumn::HeightFactor:
        return "f(H1)";
    case SheetColumn::A2:
        return "A2";
    case SheetColumn::B2:
        return "B2";
    case SheetColumn::HeightFactor2:
        return "f(H2)";
    case SheetColumn::DirectionN:
        return "方向別\nN値";
    case SheetColumn::Governing:
        return "採用\n方向";
    default:
        return columnHeader(column);
    }
}

bool isPerDirection(SheetColumn column) {
    return column == SheetColumn::Direction || column == SheetColumn::A ||
           column == SheetColumn::A2 || column == SheetColumn::DirectionN;
}

std::string_view houseTableCaption(HouseTable table) {
    switch (table) {
    case HouseTable::Upper:
        return "2階の柱";
    case HouseTable::Lower:
        return "1階の柱";
    case HouseTable::SingleStorey:
        break;
    }
    return "平屋・下屋の柱";
}

std::vector<SheetColumn> sheetColumns(std::int32_t storeyCount, bool withHeights) {
    using C = SheetColumn;
    if (storeyCount == 0) {
        return {C::Name};
    }
    std::vector<C> columns{C::Diagram, C::Name, C::Pattern, C::Mirrored};
    if (storeyCount == 2) {
        columns.push_back(C::Storey);
    }
    columns.insert(columns.end(),
                   {C::Position, C::WallLeft, C::WallRight, C::Correction, C::A, C::B});
    if (withHeights) {
        columns.insert(columns.end(), {C::Height, C::HeightFactor});
    }
    columns.insert(columns.end(), {C::L, C::N, C::PullOut, C::Symbol, C::Hardware, C::Strength});
    return columns;
}

std::string_view columnHeader(SheetColumn column) {
    switch (column) {
    case SheetColumn::Diagram:
        return "軸組";
    case SheetColumn::Name:
        return "柱名";
    case SheetColumn::Pattern:
        return "パターン";
    case SheetColumn::Mirrored:
        return "反転";
    case SheetColumn::Storey:
        return "階";
    case SheetColumn::Position:
        return "柱位置";
    case SheetColumn::WallLeft:
        return "壁倍率\n左";
    case SheetColumn::WallRight:
        return "壁倍率\n右";
    case SheetColumn::Correction:
        return "筋かい\n補正";
    case SheetColumn::A:
        return "A";
    case SheetColumn::B:
        return "B";
    case SheetColumn::Height:
        return "H\n(m)";
    case SheetColumn::HeightFactor:
        return "f(H)";
    case SheetColumn::L:
        return "L";
    case SheetColumn::N:
        return "N値";
    case SheetColumn::PullOut:
        return "引抜力\n(kN)";
    case SheetColumn::Symbol:
        return "告示\n記号";
    case SheetColumn::Hardware:
        return "接合金物";
    case SheetColumn::Strength:
        return "接合耐力\n(kN)";
    default:
        return {};
    }
}

bool isPerStorey(SheetColumn column) {
    return column >= SheetColumn::Storey && column <= SheetColumn::HeightFactor;
}

std::int32_t storeyCountOf(const SheetRow& row) {
    return IsPatternTag(row.patternTag) ? StoreyCountOf(row.patternTag) : 0;
}

std::string_view tableCaption(std::int32_t storeyCount) {
    switch (storeyCount) {
    case 1:
        return "平屋・2階の柱";
    case 2:
        return "2階建ての1階の柱";
    default:
        return "軸組パターンを読めなかった記録";
    }
}

std::string cellText(const SheetRow& row, SheetColumn column, int line) {
    if (row.house) {
        return houseCell(row, column, line);
    }
    const std::int32_t storeys = storeyCountOf(row);
    switch (column) {
    case SheetColumn::Name:
        return row.name;
    case SheetColumn::Pattern:
        return storeys == 0 ? std::string() : std::to_string(row.patternTag);
    case SheetColumn::Mirrored:
        return storeys == 0 ? std::string() : std::string(row.reversed != 0 ? "有" : "無");
    case SheetColumn::Storey:
        return storeys == 2 && line == 0 ? "2階" : "1階";
    case SheetColumn::Position:
        return storeys == 0 ? std::string() : positionText(row.patternTag, storeys, line);
    case SheetColumn::Diagram:
        return {};
    default:
        return row.result ? resultCell(row, column, line) : std::string();
    }
}

std::vector<RuleSet> rulesInUse(const SheetDescription& sheet) {
    std::vector<RuleSet> rules;
    forEachRow(sheet, [&rules](const SheetRow& row) {
        const RuleSet r = row.result ? row.result->Rules : row.conditions.rules;
        if (std::find(rules.begin(), rules.end(), r) == rules.end()) {
            rules.push_back(r);
        }
    });
    if (rules.empty()) {
        rules.push_back(sheet.rules);
    }
    std::sort(rules.begin(), rules.end());
    return rules;
}

std::vector<LegendRow> hardwareLegend() {
    std::vector<LegendRow> rows;
    float previous = 0.0f;
    for (std::int32_t k = 1; k <= JointClassCount; ++k) {
        const JointClassRow row = *jointClassRow(k);
        const float limit = row.nLimit;
        const std::string name(row.name);
        const std::string strength = F2(row.strength);
        // "≦" rather than "≤": the IPA fonts have the former only.
        std::string range = k == 1 ? "N ≦ " + F2(limit) : F2(previous) + " < N ≦ " + F2(limit);
        if (beyondNoticeTable(k)) {
            // Hardware past the notification's table is an example, listed
            // under the rule that applies there.
            rows.push_back({kBeyondTable, F2(previous) + " < N", beyondTableRuleText(),
                            "N×" + beyondTableFactorText() + " 以上"});
            rows.push_back({"参考", std::move(range), name, strength});
        } else {
            rows.push_back({std::string(row.symbol), std::move(range), name, strength});
        }
        previous = limit;
    }
    return rows;
}

std::string patternLegend() {
    std::string text = "軸組パターン：";
    for (const FramePattern& p : kFramePatterns) {
        text += std::to_string(p.tag) + " ";
        if (p.storeys == 1) {
            text += "平屋・2階:" + positionText(p.tag, 1, 0);
        } else {
            text += "2階:" + positionText(p.tag, 2, 0) + "／1階:" + positionText(p.tag, 2, 1);
        }
        text += "　";
    }
    text.erase(text.size() - std::string_view("　").size());
    return text;
}

} // namespace koruba
