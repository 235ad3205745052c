#pragma once

#include "calc/CalcConditions.h"
#include "calc/PatternTable.h"

#include <array>
#include <cstdint>

namespace koruba {

// Brace kinds as stored in a bay. The element kinds 1..3 that the user
// chooses coincide with these; element kind 4 is the sheathing panel.
enum BraceKindCode : std::int32_t {
    NoBrace = 0,
    BraceRisingRight = 1, // lower left to upper right corner
    BraceRisingLeft = 2,  // upper left to lower right corner
    CrossBrace = 3,
};
inline constexpr std::int32_t PanelElement = 4;

// One storey of the bay table: five fields, each an array over the two
// sides. Index 0 is side 1 (left), index 1 side 2 (right).
struct BayRow {
    std::array<float, 2> BraceMult{};
    std::array<std::int32_t, 2> BraceKind{};
    std::array<std::int32_t, 2> BraceSize{};
    std::array<std::int32_t, 2> PanelOn{};
    std::array<float, 2> PanelMult{};

    friend bool operator==(const BayRow&, const BayRow&) = default;
};

// A copy of the five fields of one bay.
struct BayCell {
    float BraceMult = 0.0f;
    std::int32_t BraceKind = 0;
    std::int32_t BraceSize = 0;
    std::int32_t PanelOn = 0;
    float PanelMult = 0.0f;

    friend bool operator==(const BayCell&, const BayCell&) = default;
};

// What stands in the four wall bays beside the column under study.
// Addressed by storey (1 lower, 2 upper or the only storey) and side
// (1 left, 2 right), both 1-based as the bay images name them.
class BayTable {
public:
    BayCell Cell(int storey, int side) const;
    BayCell Cell(BayAddress bay) const { return Cell(bay.storey, bay.side); }
    void SetCell(int storey, int side, const BayCell& cell);
    const BayRow& Row(int storey) const { return rows_[static_cast<std::size_t>(storey - 1)]; }
    BayRow& Row(int storey) { return rows_[static_cast<std::size_t>(storey - 1)]; }

    friend bool operator==(const BayTable&, const BayTable&) = default;

private:
    std::array<BayRow, 2> rows_{};
};

// The 2000 method counts a bay's multiplier sum (brace plus panel) up to
// 5.0; the 2025 rules take the actual sum.
inline constexpr float kBayMultiplierCap2000 = 5.0f;
float bayMultiplierCap(RuleSet rules);

// A bay's multiplier sum, brace plus panel, and whether the cap cut it.
struct BayMultiplier {
    float sum = 0.0f;
    bool capped = false;
};
BayMultiplier bayMultiplier(const BayCell& cell, float cap);

// Brace sizes by size index 0..3: thickness and width in millimetres and
// the wall multiplier of a single brace of that size.
struct BraceSize {
    std::int32_t thicknessMm;
    std::int32_t widthMm;
    float multiplier;
};
inline constexpr std::array<BraceSize, 4> kBraceSizes{{
    {15, 90, 1.0f},
    {30, 90, 1.5f},
    {45, 90, 2.0f},
    {90, 90, 3.0f},
}};

// The panel multipliers offered, by list row: 0.5 to 5.0 in steps of 0.5.
inline constexpr std::int32_t kPanelMultiplierRows = 10;
constexpr float panelMultiplierOfRow(std::int32_t row) {
    return 0.5f + 0.5f * static_cast<float>(row);
}

// Wall multiplier of a brace of size index 0..3 for the given element kind
// (cross braces doubled), capped; false for an index outside 0..3.
bool BraceMultiplierOfRow(std::int32_t row, std::int32_t elementKind, float cap, float& out);

// The bracing model of the main window: the bay table and the editing
// state that says what the next press on a bay places. Every operation
// keeps the bay invariants: no brace means size 0 and multiplier 0.0, no
// panel means multiplier 0.0, a brace multiplier never exceeds the cap.
// The model neither draws nor calculates; its caller redraws and
// recomputes after each change, in that order.
class BracingModel {
public:
    // Puts every field back to its value at window creation: no pattern,
    // no element kind (0), size index 2 with multiplier 2.0, panel 0.5,
    // all bays empty.
    void Reset();

    // Records the bay image pressed last; a tag outside 1..4 sets
    // ClickedBay but leaves CurStorey and CurSide unchanged.
    void SelectBay(std::int32_t tag);
    // Places the chosen element in the current bay, or removes it when the
    // bay already holds that brace kind (or a panel, for a panel).
    void ToggleElement();
    // Turns a single brace in the current bay round. A cross brace is left
    // alone; returns false then, and the caller must not redraw.
    bool FlipBrace();
    void ClearBay(int storey, int side);
    void ClearAllBays();

    void ChoosePattern(std::int32_t tag);
    void Reverse();
    // Takes over a stored column: pattern, mirror state and every bay. The
    // element choice and the current bay are the user's and stay.
    void LoadColumn(std::int32_t patternTag, std::int32_t reversed, const BayTable& bays);

    // Element choice. The brace size list row is passed in because the
    // choice reads it back from the list (-1 when nothing is selected).
    void ChooseBraceKind(std::int32_t kind, std::int32_t selectedRow);
    void ChoosePanel();
    void ChooseBraceSize(std::int32_t row);
    void ChoosePanelMultiplier(std::int32_t row);

    // Whether the current pattern and mirror state use the bay image tag.
    bool bayInUse(std::int32_t tag) const {
        return koruba::bayInUse(tag, patternTag_, patternReversed_);
    }

    const BayTable& Bays() const { return bays_; }

    std::int32_t PatternTag() const { return patternTag_; }
    std::int32_t StoreyCount() const { return storeyCount_; }
    std::int32_t PatternReversed() const { return patternReversed_; }
    std::int32_t ElementKind() const { return elementKind_; }
    std::int32_t BraceSizeIndex() const { return braceSizeIndex_; }
    float BraceMultiplier() const { return braceMultiplier_; }
    float PanelMultiplier() const { return panelMultiplier_; }
    float MultiplierCap() const { return multiplierCap_; }
    std::int32_t ClickedBay() const { return clickedBay_; }
    std::int32_t CurStorey() const { return curStorey_; }
    std::int32_t CurSide() const { return curSide_; }
    BayAddress CurBay() const { return {curStorey_, curSide_}; }

private:
    void ApplyBraceRowMultiplier(std::int32_t row);

    BayTable bays_{};
    std::int32_t patternTag_ = 0;
    std::int32_t elementKind_ = 0;
    std::int32_t braceSizeIndex_ = 2;
    std::int32_t clickedBay_ = 0;
    float braceMultiplier_ = 2.0f;
    float panelMultiplier_ = 0.5f;
    std::int32_t curStorey_ = 0;
    std::int32_t curSide_ = 0;
    std::int32_t patternReversed_ = 0;
    std::int32_t storeyCount_ = 0;
    float multiplierCap_ = kBayMultiplierCap2000;
};

} // namespace koruba
