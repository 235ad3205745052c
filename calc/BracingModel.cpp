#include "calc/BracingModel.h"

#include <algorithm>
#include <limits>

namespace koruba {

BayCell BayTable::Cell(int storey, int side) const {
    const BayRow& r = Row(storey);
    const auto i = static_cast<std::size_t>(side - 1);
    return {r.BraceMult[i], r.BraceKind[i], r.BraceSize[i], r.PanelOn[i], r.PanelMult[i]};
}

void BayTable::SetCell(int storey, int side, const BayCell& cell) {
    BayRow& r = Row(storey);
    const auto i = static_cast<std::size_t>(side - 1);
    r.BraceMult[i] = cell.BraceMult;
    r.BraceKind[i] = cell.BraceKind;
    r.BraceSize[i] = cell.BraceSize;
    r.PanelOn[i] = cell.PanelOn;
    r.PanelMult[i] = cell.PanelMult;
}

float bayMultiplierCap(RuleSet rules) {
    return rules == RuleSet::Revision2025 ? std::numeric_limits<float>::infinity()
                                          : kBayMultiplierCap2000;
}

BayMultiplier bayMultiplier(const BayCell& cell, float cap) {
    const auto sum = static_cast<float>(static_cast<long double>(cell.BraceMult) +
                                        static_cast<long double>(cell.PanelMult));
    if (sum > cap) {
        return {cap, true};
    }
    return {sum, false};
}

bool BraceMultiplierOfRow(std::int32_t row, std::int32_t elementKind, float cap, float& out) {
    if (row < 0 || row >= static_cast<std::int32_t>(kBraceSizes.size())) {
        return false;
    }
    float m = kBraceSizes[static_cast<std::size_t>(row)].multiplier;
    if (elementKind == CrossBrace) {
        m *= 2.0f;
    }
    out = m > cap ? cap : m;
    return true;
}

void BracingModel::Reset() {
    *this = BracingModel{};
}

void BracingModel::SelectBay(std::int32_t tag) {
    clickedBay_ = tag;
    if (const std::optional<BayAddress> bay = bayOfTag(tag)) {
        curStorey_ = bay->storey;
        curSide_ = bay->side;
    }
}

void BracingModel::ToggleElement() {
    if (curStorey_ < 1 || curStorey_ > 2 || curSide_ < 1 || curSide_ > 2) {
        return;
    }
    BayCell cell = bays_.Cell(curStorey_, curSide_);
    if (elementKind_ == PanelElement) {
        if (cell.PanelOn == 0) {
            cell.PanelOn = 1;
            cell.PanelMult = panelMultiplier_;
        } else {
            cell.PanelOn = 0;
            cell.PanelMult = 0.0f;
        }
    } else if (cell.BraceKind == elementKind_) {
        // Same kind: removed, whatever size is chosen now.
        cell.BraceKind = NoBrace;
        cell.BraceSize = 0;
        cell.BraceMult = 0.0f;
    } else {
        cell.BraceKind = elementKind_;
        cell.BraceSize = braceSizeIndex_;
        cell.BraceMult = braceMultiplier_;
    }
    bays_.SetCell(curStorey_, curSide_, cell);
}

bool BracingModel::FlipBrace() {
    if (curStorey_ < 1 || curStorey_ > 2 || curSide_ < 1 || curSide_ > 2) {
        return false;
    }
    BayRow& row = bays_.Row(curStorey_);
    std::int32_t& kind = row.BraceKind[static_cast<std::size_t>(curSide_ - 1)];
    if (kind > BraceRisingLeft) {
        return false;
    }
    if (kind == BraceRisingRight) {
        kind = BraceRisingLeft;
    } else if (kind == BraceRisingLeft) {
        kind = BraceRisingRight;
    }
    return true;
}

void BracingModel::ClearBay(int storey, int side) {
    bays_.SetCell(storey, side, BayCell{});
}

void BracingModel::ClearAllBays() {
    bays_ = BayTable{};
}

void BracingModel::ChoosePattern(std::int32_t tag) {
    patternTag_ = tag;
    storeyCount_ = StoreyCountOf(tag);
}

void BracingModel::Reverse() {
    patternReversed_ = patternReversed_ == 0 ? 1 : 0;
}

void BracingModel::ApplyBraceRowMultiplier(std::int32_t row) {
    float m = 0.0f;
    if (BraceMultiplierOfRow(row, elementKind_, multiplierCap_, m)) {
        braceMultiplier_ = m;
    } else if (elementKind_ == CrossBrace) {
        // No row selected: the multiplier keeps its value but is still
        // doubled and capped, as the choice always does.
        braceMultiplier_ = std::min(braceMultiplier_ * 2.0f, multiplierCap_);
    }
}

void BracingModel::ChooseBraceKind(std::int32_t kind, std::int32_t selectedRow) {
    elementKind_ = kind;
    ApplyBraceRowMultiplier(selectedRow);
}

void BracingModel::ChoosePanel() {
    elementKind_ = PanelElement;
}

void BracingModel::ChooseBraceSize(std::int32_t row) {
    braceSizeIndex_ = row;
    ApplyBraceRowMultiplier(row);
}

void BracingModel::ChoosePanelMultiplier(std::int32_t row) {
    if (row >= 0 && row < kPanelMultiplierRows) {
        panelMultiplier_ = panelMultiplierOfRow(row);
    }
}

} // namespace koruba
