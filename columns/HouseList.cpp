#include "columns/HouseList.h"

#include "calc/HouseDerivation.h"
#include "columns/ColumnRow.h"

#include <string>

namespace koruba::columns {

namespace {

std::string noPatternReason(const ColumnResult& column) {
    std::string why =
        column.frame == HouseFrame::LowerStorey && column.corner && !column.upperCorner
            ? "1階が出隅で上の2階の柱がその他の架構"
            : "出隅の柱の両側に耐力壁がある架構";
    return std::string(kNoPatternMark) + ": " + why +
           "は計算画面のどのパターンでも描けません。住宅の計算書（koruba-x-calc --sheet）で確認して"
           "ください";
}

} // namespace

ColumnList listOfHouse(const House& house) {
    ColumnList list;
    list.heading = ListHeading{house.project, house.designer};
    const Storey* upper = nullptr;
    for (const Storey& s : house.storeys) {
        if (s.number == 2) {
            upper = &s;
        }
    }
    for (const ColumnResult& column : deriveHouse(house)) {
        const Storey* own = nullptr;
        for (const Storey& s : house.storeys) {
            if (s.number == column.storey) {
                own = &s;
            }
        }
        // The heights as the derivation uses them: a single-storey frame
        // takes its own storey's as H1, a lower-storey frame the upper
        // storey's as H2.
        CalcConditions conditions{house.rules, own != nullptr ? own->heightCm : 0, 0};
        if (column.frame == HouseFrame::LowerStorey && upper != nullptr) {
            conditions.h2Cm = upper->heightCm;
        }
        const std::string stem =
            std::to_string(column.storey) + "F-" + gridPointName(house, column.at) + "-";
        for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
            const std::string name = stem + (d == HouseDirection::X ? "X" : "Y");
            if (const auto frame = windowFrameOf(column, d)) {
                list.rows.push_back(rowOfColumn(name, frame->patternTag, frame->mirrored ? 1 : 0,
                                                frame->bays, conditions));
            } else {
                ColumnRow row = rowOfColumn(name, 0, 0, BayTable{}, conditions);
                row.pattern = noPatternReason(column);
                list.rows.push_back(std::move(row));
            }
        }
    }
    return list;
}

} // namespace koruba::columns
