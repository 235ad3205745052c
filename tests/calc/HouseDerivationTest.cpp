#include "calc/HouseDerivation.h"
#include "calc/CalcNValue.h"
#include "tests/support/WindowAgreement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace koruba {
namespace {

// Bays as the window would fill them. R rises toward the higher
// coordinate of the wall's line, L toward the lower one.
BayCell brace(std::int32_t kind, std::int32_t sizeIndex) {
    BayCell c;
    c.BraceKind = kind;
    c.BraceSize = sizeIndex;
    BraceMultiplierOfRow(sizeIndex, kind, kBayMultiplierCap2000, c.BraceMult);
    return c;
}
BayCell withPanel(BayCell c, std::int32_t panelRow) {
    c.PanelOn = 1;
    c.PanelMult = panelMultiplierOfRow(panelRow);
    return c;
}
const BayCell kR15 = brace(BraceRisingRight, 0);
const BayCell kR30 = brace(BraceRisingRight, 1);
const BayCell kL30 = brace(BraceRisingLeft, 1);
const BayCell kX30 = brace(CrossBrace, 1);
const BayCell kR45 = brace(BraceRisingRight, 2);
const BayCell kL45 = brace(BraceRisingLeft, 2);
const BayCell kX45 = brace(CrossBrace, 2);
const BayCell kR90 = brace(BraceRisingRight, 3);
const BayCell kP15 = withPanel({}, 2);
const BayCell kP2 = withPanel({}, 3);
const BayCell kP25 = withPanel({}, 4);

GridPoint at(std::int32_t x, std::int32_t y) {
    return {x, y};
}

// A grid X0.., Y0.. on the 910 mm module.
House grid(int xs, int ys, RuleSet rules) {
    House h;
    h.rules = rules;
    for (int i = 0; i < xs; ++i) {
        h.gridX.push_back({"X" + std::to_string(i), 910 * i});
    }
    for (int i = 0; i < ys; ++i) {
        h.gridY.push_back({"Y" + std::to_string(i), 910 * i});
    }
    return h;
}

Storey storey(std::int32_t number, std::int32_t heightCm, std::vector<GridPoint> outline,
              const std::vector<GridPoint>& columns, std::vector<HouseWall> walls) {
    Storey s;
    s.number = number;
    s.heightCm = heightCm;
    s.outline = std::move(outline);
    for (const GridPoint& p : columns) {
        s.columns.push_back({p, "", false});
    }
    s.walls = std::move(walls);
    return s;
}

struct Expected {
    std::int32_t storey;
    std::string name;
    float nX;
    float nY;
    HouseDirection governing;
    std::string symbol;
};

const ColumnResult* find(const std::vector<ColumnResult>& all, std::int32_t s,
                         const std::string& name) {
    for (const ColumnResult& c : all) {
        if (c.storey == s && c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

void expectColumns(const std::vector<ColumnResult>& all, const std::vector<Expected>& expected) {
    EXPECT_EQ(all.size(), expected.size());
    for (const Expected& e : expected) {
        SCOPED_TRACE(std::to_string(e.storey) + "F " + e.name);
        const ColumnResult* c = find(all, e.storey, e.name);
        ASSERT_NE(c, nullptr);
        EXPECT_NEAR(c->in(HouseDirection::X).result.NValue, e.nX, 1e-5);
        EXPECT_NEAR(c->in(HouseDirection::Y).result.NValue, e.nY, 1e-5);
        EXPECT_EQ(c->governing, e.governing);
        EXPECT_EQ(c->result().JointSymbol, e.symbol);
    }
}

// Two by two modules, one storey, 2000 rules. Corners B 0.8 L 0.4, the
// rest B 0.5 L 0.6.
//   Y0: X0-X1 R45, X1-X2 P2.5      Y2: X0-X1 X30
//   X0: Y0-Y1 L30, Y1-Y2 L30       X1: Y0-Y1 R15      X2: Y0-Y1 R90
TEST(HouseDerivation, TwoByTwoSingleStoreyBox) {
    House h = grid(3, 3, RuleSet::Notice2000);
    std::vector<GridPoint> all;
    for (int x = 0; x < 3; ++x) {
        for (int y = 0; y < 3; ++y) {
            all.push_back(at(x, y));
        }
    }
    h.storeys.push_back(storey(1, 0, {at(0, 0), at(2, 0), at(2, 2), at(0, 2)}, all,
                               {{at(0, 0), at(1, 0), kR45},
                                {at(1, 0), at(2, 0), kP25},
                                {at(0, 2), at(1, 2), kX30},
                                {at(0, 0), at(0, 1), kL30},
                                {at(0, 2), at(0, 1), kL30}, // written from the higher end
                                {at(1, 0), at(1, 1), kR15},
                                {at(2, 0), at(2, 1), kR90}}));
    const std::vector<ColumnResult> r = deriveHouse(h);
    expectColumns(r, {
                         // X: R45 right of it meets the foot: 2.0 - 0.5 = 1.5, 1.5x0.8-0.4 = 0.8.
                         // Y: L30 right of it meets the top: 1.5 + 0.5 = 2.0, 2.0x0.8-0.4 = 1.2.
                         {1, "X0-Y0", 0.8f, 1.2f, HouseDirection::Y, "(に)"},
                         // X: |2.0 - 2.5| + 0.5 (R45 left, top) = 1.0, 0.5-0.6 = -0.1.
                         // Y: R15 right of it, base 0: 1.0, -0.1. A tie goes to X.
                         {1, "X1-Y0", -0.1f, -0.1f, HouseDirection::X, "(い)"},
                         // X: P2.5 alone 2.5x0.8-0.4 = 1.6. Y: R90 right, foot: 3.0-2.0 = 1.0, 0.4.
                         {1, "X2-Y0", 1.6f, 0.4f, HouseDirection::X, "(ほ)"},
                         // X: nothing, -0.6. Y: L30 left (foot) and L30 right (top): 0 + 1.0, -0.1.
                         {1, "X0-Y1", -0.6f, -0.1f, HouseDirection::Y, "(い)"},
                         // Y: R15 left of it: 1.0 + 0.0, -0.1.
                         {1, "X1-Y1", -0.6f, -0.1f, HouseDirection::Y, "(い)"},
                         // Y: R90 left of it meets the top: 3.0 + 2.0 = 5.0, 2.5-0.6 = 1.9.
                         {1, "X2-Y1", -0.6f, 1.9f, HouseDirection::Y, "(と)"},
                         // X: X30 alone 3.0, 2.4-0.4 = 2.0. Y: L30 left (foot): 1.0, 0.4.
                         {1, "X0-Y2", 2.0f, 0.4f, HouseDirection::X, "(と)"},
                         // X: X30 left of it, 3.0x0.5-0.6 = 0.9.
                         {1, "X1-Y2", 0.9f, -0.6f, HouseDirection::X, "(は)"},
                         {1, "X2-Y2", -0.4f, -0.4f, HouseDirection::X, "(い)"},
                     });
    EXPECT_EQ(expectWindowAgrees(h, r).mapped, 18);
}

// The house of the format's description, 2025 rules, H1 2.90 (f 1) and
// H2 3.30 (f 3.30/2.7). Storey 2 covers X0..X1 only, so the columns on
// X2 are a 下屋; storey 2's X1-Y0 ends the L30 with no column below.
//   1F: Y0: X0-X2 X45+P2.5 (two modules)   X0: Y0-Y1 R45
//   2F: Y0: X0-X1 L30
House describedHouse(RuleSet rules) {
    House h = grid(3, 2, rules);
    h.gridY[1].positionMm = 1820;
    h.storeys.push_back(storey(
        1, 290, {at(0, 0), at(2, 0), at(2, 1), at(0, 1)}, {at(0, 0), at(2, 0), at(2, 1), at(0, 1)},
        {{at(0, 0), at(2, 0), withPanel(kX45, 4)}, {at(0, 0), at(0, 1), kR45}}));
    h.storeys[0].columns[0].name = "通し柱A";
    h.storeys[0].columns[0].through = true;
    h.storeys.push_back(storey(2, 330, {at(0, 0), at(1, 0), at(1, 1), at(0, 1)},
                               {at(0, 0), at(1, 0), at(1, 1), at(0, 1)},
                               {{at(0, 0), at(1, 0), kL30}}));
    return h;
}

TEST(HouseDerivation, TwoStoreysWithLeanToAndNoColumnBelow) {
    const House h = describedHouse(RuleSet::Revision2025);
    const std::vector<ColumnResult> r = deriveHouse(h);
    expectColumns(r, {
                         // Corner of both storeys. X: 6.5x0.8 + (1.5+0.5)x0.8x3.30/2.7 - 1.0
                         // = 6.1556. Y: (2.0-0.5)x0.8 - 1.0 = 0.2.
                         {1, "通し柱A", 6.1555557f, 0.2f, HouseDirection::X, "(る)*"},
                         // 下屋 corner: X45+P2.5 left of it, cross: 6.5x0.8-0.4 = 4.8.
                         {1, "X2-Y0", 4.8f, -0.4f, HouseDirection::X, "(ぬ)"},
                         {1, "X2-Y1", -0.4f, -0.4f, HouseDirection::X, "(い)"},
                         // Corner of both. Y: R45 left of it meets the top, 2.5x0.8-1.0 = 1.0.
                         {1, "X0-Y1", -1.0f, 1.0f, HouseDirection::Y, "(は)"},
                         // X: L30 right of it meets the top: 2.0x0.8x3.30/2.7-0.4 = 1.5556.
                         {2, "X0-Y0", 1.5555556f, -0.4f, HouseDirection::X, "(ほ)"},
                         // X: L30 left of it meets the foot: 1.0x0.8x3.30/2.7-0.4 = 0.5778.
                         {2, "X1-Y0", 0.5777778f, -0.4f, HouseDirection::X, "(ろ)"},
                         {2, "X1-Y1", -0.4f, -0.4f, HouseDirection::X, "(い)"},
                         {2, "X0-Y1", -0.4f, -0.4f, HouseDirection::X, "(い)"},
                     });
    const ColumnResult* a = find(r, 1, "通し柱A");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->through);
    EXPECT_EQ(a->frame, HouseFrame::LowerStorey);
    EXPECT_FLOAT_EQ(a->result().HeightFactor2, 3.30f / 2.7f);
    EXPECT_EQ(find(r, 1, "X2-Y0")->frame, HouseFrame::SingleStorey);
    // Only the upper column that ends a wall without a column below is
    // warned about; X1-Y1 stands on nothing but ends no wall.
    for (const ColumnResult& c : r) {
        const bool warned = c.storey == 2 && c.name == "X1-Y0";
        ASSERT_EQ(c.warnings.size(), warned ? 1u : 0u) << c.name;
        if (warned) {
            EXPECT_NE(c.warnings[0].find("2階 X1-Y0"), std::string::npos);
            EXPECT_NE(c.warnings[0].find(kNoColumnBelow), std::string::npos);
        }
    }
    EXPECT_EQ(expectWindowAgrees(h, r).mapped, 16);
}

// The same house under the 2000 rules: the X45+P2.5 bay (6.5) counts 5.0
// and no height factor applies.
TEST(HouseDerivation, TwoThousandRulesCapTheBaySum) {
    const House h = describedHouse(RuleSet::Notice2000);
    const std::vector<ColumnResult> r = deriveHouse(h);
    // 5.0x0.8 + 2.0x0.8 - 1.0 = 4.6; 5.0x0.8 - 0.4 = 3.6; 2.0x0.8 - 0.4 = 1.2.
    const ColumnResult* a = find(r, 1, "通し柱A");
    ASSERT_NE(a, nullptr);
    EXPECT_FLOAT_EQ(a->result().WallA1Right, 5.0f);
    EXPECT_NEAR(a->result().NValue, 4.6f, 1e-5);
    EXPECT_EQ(a->result().JointSymbol, "(り)");
    EXPECT_NEAR(find(r, 1, "X2-Y0")->result().NValue, 3.6f, 1e-5);
    EXPECT_EQ(find(r, 1, "X2-Y0")->result().JointSymbol, "(ち)");
    EXPECT_NEAR(find(r, 2, "X0-Y0")->result().NValue, 1.2f, 1e-5);
    EXPECT_EQ(expectWindowAgrees(h, r).mapped, 16);
}

// The ground storey is an L (a porch cut out at X2..X3, Y0..Y1) with the
// concave corner X2-Y1; the upper storey spans the whole rectangle, so
// the ground corners X2-Y0 and X3-Y1 carry upper columns standing on an
// edge of storey 2: corner below, その他 above (B1 0.8, B2 0.5, L 1.0).
// Walls of two and three modules. 2000 rules.
//   1F: Y0: X0-X2 R45   X2: Y0-Y1 P2.5   Y1: X2-X3 L45   X3: Y1-Y2 X45
//       Y2: X0-X3 R30   X0: Y0-Y2 P2
//   2F: Y0: X0-X2 L30   X3: Y1-Y2 R30    X0: Y0-Y2 P2.5
TEST(HouseDerivation, OverhangOverCornerAndConcaveCorner) {
    House h = grid(4, 3, RuleSet::Notice2000);
    const std::vector<GridPoint> lower{at(0, 0), at(2, 0), at(2, 1), at(3, 1), at(3, 2), at(0, 2)};
    h.storeys.push_back(storey(1, 0, lower, lower,
                               {{at(0, 0), at(2, 0), kR45},
                                {at(2, 0), at(2, 1), kP25},
                                {at(2, 1), at(3, 1), kL45},
                                {at(3, 1), at(3, 2), kX45},
                                {at(0, 2), at(3, 2), kR30},
                                {at(0, 0), at(0, 2), kP2}}));
    h.storeys.push_back(storey(
        2, 0, {at(0, 0), at(3, 0), at(3, 2), at(0, 2)},
        {at(0, 0), at(2, 0), at(3, 0), at(3, 1), at(3, 2), at(0, 2)},
        {{at(0, 0), at(2, 0), kL30}, {at(3, 1), at(3, 2), kR30}, {at(0, 0), at(0, 2), kP25}}));
    const std::vector<ColumnResult> r = deriveHouse(h);
    expectColumns(r, {
                         // Corner of both. X: A1 2.0-0.5 = 1.5, A2 1.5+0.5 = 2.0:
                         // 1.2 + 1.6 - 1.0 = 1.8. Y: P2 and P2.5: 1.6 + 2.0 - 1.0 = 2.6.
                         {1, "X0-Y0", 1.8f, 2.6f, HouseDirection::Y, "(と)"},
                         // The fourth combination. X: R45 left of it meets the top,
                         // A1 2.5; L30 left above meets the foot, A2 1.0:
                         // 2.5x0.8 + 1.0x0.5 - 1.0 = 1.5. Y: P2.5, 2.0 - 1.0 = 1.0.
                         {1, "X2-Y0", 1.5f, 1.0f, HouseDirection::X, "(ほ)"},
                         // 入隅: その他, no column above. X: L45 right meets the top,
                         // 2.5x0.5-1.6 = -0.35; Y: P2.5 left, the same; X on the tie.
                         {1, "X2-Y1", -0.35f, -0.35f, HouseDirection::X, "(い)"},
                         // Fourth combination. X: L45 left meets the foot: 1.5x0.8-1.0 =
                         // 0.2. Y: X45 4.0, R30 right above meets the foot 1.0:
                         // 3.2 + 0.5 - 1.0 = 2.7.
                         {1, "X3-Y1", 0.2f, 2.7f, HouseDirection::Y, "(と)"},
                         // X: R30 left meets the top: 2.0x0.8-1.0 = 0.6. Y: X45 4.0 and
                         // R30 above 2.0: 3.2 + 1.6 - 1.0 = 3.8.
                         {1, "X3-Y2", 0.6f, 3.8f, HouseDirection::Y, "(り)"},
                         // X: R30 right meets the foot: 1.0x0.8-1.0 = -0.2. Y: P2, P2.5 above: 2.6.
                         {1, "X0-Y2", -0.2f, 2.6f, HouseDirection::Y, "(と)"},
                         {2, "X0-Y0", 1.2f, 1.6f, HouseDirection::Y, "(ほ)"},
                         // On the edge: L30 left meets the foot, 1.0x0.5-0.6.
                         {2, "X2-Y0", -0.1f, -0.6f, HouseDirection::X, "(い)"},
                         // No column below, but it ends no wall: no warning.
                         {2, "X3-Y0", -0.4f, -0.4f, HouseDirection::X, "(い)"},
                         {2, "X3-Y1", -0.6f, -0.1f, HouseDirection::Y, "(い)"},
                         {2, "X3-Y2", -0.4f, 1.2f, HouseDirection::Y, "(に)"},
                         {2, "X0-Y2", -0.4f, 1.6f, HouseDirection::Y, "(ほ)"},
                     });
    const ColumnResult* c = find(r, 1, "X2-Y0");
    EXPECT_TRUE(c->corner && c->upperColumn && !c->upperCorner);
    EXPECT_FLOAT_EQ(c->result().B1, 0.8f);
    EXPECT_FLOAT_EQ(c->result().B2, 0.5f);
    EXPECT_FLOAT_EQ(c->result().L, 1.0f);
    EXPECT_FALSE(windowFrameOf(*c, HouseDirection::X));
    EXPECT_FALSE(find(r, 1, "X2-Y1")->corner);
    EXPECT_EQ(windowFrameOf(*find(r, 1, "X3-Y2"), HouseDirection::Y)->mirrored, true);
    for (const ColumnResult& col : r) {
        EXPECT_TRUE(col.warnings.empty()) << col.name;
    }
    // Two ground columns of the fourth combination have no pattern.
    EXPECT_EQ(expectWindowAgrees(h, r).mapped, 20);
}

// The plan window derives houses it holds in memory, checked or not: two
// storeys numbered alike are derived each as a single storey, not through
// a storey index that is not there.
TEST(HouseDerivation, StoreysNotNumberedOneAndTwoStandAlone) {
    House h = describedHouse(RuleSet::Revision2025);
    h.storeys[1].number = 1;
    const std::vector<ColumnResult> r = deriveHouse(h);
    ASSERT_EQ(r.size(), 8u);
    for (const ColumnResult& c : r) {
        EXPECT_EQ(c.frame, HouseFrame::SingleStorey) << c.name;
    }
}

} // namespace
} // namespace koruba
