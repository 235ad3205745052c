#include "calc/BracingModel.h"

#include <gtest/gtest.h>

namespace {

using koruba::BayCell;
using koruba::BracingModel;

// A started window: element kind chosen as at window creation ("筋かい(左上)",
// 45x90) and a pattern chosen.
BracingModel StartedModel(int pattern = 13) {
    BracingModel m;
    m.ChooseBraceKind(2, -1);
    m.ChooseBraceSize(2);
    m.ChoosePanelMultiplier(0);
    m.ChoosePattern(pattern);
    return m;
}

void Press(BracingModel& m, int tag) {
    m.SelectBay(tag);
    m.ToggleElement();
}

void ExpectInvariants(const BracingModel& m) {
    for (int storey = 1; storey <= 2; ++storey) {
        for (int side = 1; side <= 2; ++side) {
            const BayCell c = m.Bays().Cell(storey, side);
            if (c.BraceKind == 0) {
                EXPECT_EQ(c.BraceSize, 0);
                EXPECT_EQ(c.BraceMult, 0.0f);
            }
            if (c.PanelOn == 0) {
                EXPECT_EQ(c.PanelMult, 0.0f);
            }
            EXPECT_LE(c.BraceMult, m.MultiplierCap());
        }
    }
}

TEST(BracingModel, StartsEmptyWithTheCreationValues) {
    const BracingModel m;
    EXPECT_EQ(m.PatternTag(), 0);
    EXPECT_EQ(m.ElementKind(), 0);
    EXPECT_EQ(m.BraceSizeIndex(), 2);
    EXPECT_EQ(m.BraceMultiplier(), 2.0f);
    EXPECT_EQ(m.PanelMultiplier(), 0.5f);
    EXPECT_EQ(m.MultiplierCap(), 5.0f);
    EXPECT_EQ(m.StoreyCount(), 0);
    EXPECT_EQ(m.PatternReversed(), 0);
    EXPECT_EQ(m.Bays(), koruba::BayTable{});
}

TEST(BracingModel, BayTagsMapToStoreyAndSide) {
    const int expected[4][2] = {{2, 1}, {2, 2}, {1, 1}, {1, 2}};
    for (int tag = 1; tag <= 4; ++tag) {
        BracingModel m;
        m.SelectBay(tag);
        EXPECT_EQ(m.ClickedBay(), tag);
        EXPECT_EQ(m.CurStorey(), expected[tag - 1][0]);
        EXPECT_EQ(m.CurSide(), expected[tag - 1][1]);
        EXPECT_EQ(koruba::tagOfBay({m.CurStorey(), m.CurSide()}), tag);
    }
    BracingModel m;
    m.SelectBay(3);
    m.SelectBay(7); // unknown tag: the bay stays
    EXPECT_EQ(m.ClickedBay(), 7);
    EXPECT_EQ(m.CurStorey(), 1);
    EXPECT_EQ(m.CurSide(), 1);
}

TEST(BracingModel, PressPlacesAndSecondPressRemovesTheBrace) {
    BracingModel m = StartedModel();
    Press(m, 1);
    EXPECT_EQ(m.Bays().Cell(2, 1), (BayCell{2.0f, 2, 2, 0, 0.0f}));
    Press(m, 1);
    EXPECT_EQ(m.Bays().Cell(2, 1), BayCell{});
    ExpectInvariants(m);
}

TEST(BracingModel, AnotherKindReplacesTheSameKindRemovesWhateverTheSize) {
    BracingModel m = StartedModel();
    m.ChooseBraceKind(1, 2);
    Press(m, 3); // right-rising 45x90
    m.ChooseBraceKind(3, 2);
    Press(m, 3); // cross replaces it with the chosen size
    EXPECT_EQ(m.Bays().Cell(1, 1), (BayCell{4.0f, 3, 2, 0, 0.0f}));

    m.ChooseBraceSize(3); // cross 90x90: 6.0 capped to 5.0
    EXPECT_EQ(m.BraceMultiplier(), 5.0f);
    Press(m, 3); // same kind, other size: removed, not resized
    EXPECT_EQ(m.Bays().Cell(1, 1), BayCell{});
    Press(m, 3);
    EXPECT_EQ(m.Bays().Cell(1, 1), (BayCell{5.0f, 3, 3, 0, 0.0f}));
    ExpectInvariants(m);
}

TEST(BracingModel, BraceAndPanelAreIndependent) {
    BracingModel m = StartedModel();
    Press(m, 2); // brace 45x90 rising to the left
    m.ChoosePanel();
    m.ChoosePanelMultiplier(4); // 2.5
    Press(m, 2);
    EXPECT_EQ(m.Bays().Cell(2, 2), (BayCell{2.0f, 2, 2, 1, 2.5f}));
    m.ChoosePanelMultiplier(9);
    Press(m, 2); // removes the panel whatever multiplier is chosen
    EXPECT_EQ(m.Bays().Cell(2, 2), (BayCell{2.0f, 2, 2, 0, 0.0f}));
    Press(m, 2);
    m.ChooseBraceKind(2, 2);
    Press(m, 2); // removes the brace, keeps the panel
    EXPECT_EQ(m.Bays().Cell(2, 2), (BayCell{0.0f, 0, 0, 1, 5.0f}));
    ExpectInvariants(m);
}

TEST(BracingModel, FlipTurnsSingleBracesAndLeavesCrossBraces) {
    BracingModel m = StartedModel();
    Press(m, 4);
    m.SelectBay(4);
    EXPECT_TRUE(m.FlipBrace());
    EXPECT_EQ(m.Bays().Cell(1, 2), (BayCell{2.0f, 1, 2, 0, 0.0f}));
    EXPECT_TRUE(m.FlipBrace());
    EXPECT_EQ(m.Bays().Cell(1, 2), (BayCell{2.0f, 2, 2, 0, 0.0f}));

    m.SelectBay(3); // empty bay: nothing changes, but it still counts as a flip
    EXPECT_TRUE(m.FlipBrace());
    EXPECT_EQ(m.Bays().Cell(1, 1), BayCell{});

    m.ChooseBraceKind(3, 0);
    Press(m, 1);
    const auto before = m.Bays();
    m.SelectBay(1);
    EXPECT_FALSE(m.FlipBrace());
    EXPECT_EQ(m.Bays(), before);
}

TEST(BracingModel, ClearEmptiesAllBaysAndKeepsThePattern) {
    BracingModel m = StartedModel(21);
    m.Reverse();
    for (int tag = 1; tag <= 4; ++tag) {
        Press(m, tag);
    }
    m.ChoosePanel();
    Press(m, 1);
    m.ClearAllBays();
    EXPECT_EQ(m.Bays(), koruba::BayTable{});
    EXPECT_EQ(m.PatternTag(), 21);
    EXPECT_EQ(m.PatternReversed(), 1);
    EXPECT_EQ(m.ElementKind(), 4);
}

TEST(BracingModel, PatternChoiceAndReversalKeepTheBays) {
    BracingModel m = StartedModel(13);
    for (int tag = 1; tag <= 4; ++tag) {
        Press(m, tag);
    }
    const auto filled = m.Bays();
    m.ChoosePattern(21);
    EXPECT_EQ(m.StoreyCount(), 1);
    m.Reverse();
    m.Reverse();
    EXPECT_EQ(m.PatternReversed(), 0);
    m.ChoosePattern(11);
    EXPECT_EQ(m.StoreyCount(), 2);
    EXPECT_EQ(m.Bays(), filled);
}

TEST(BracingModel, BraceMultiplierFollowsKindAndRow) {
    struct Row {
        int kind, row;
        float expected;
    };
    for (const Row& r : {Row{2, 0, 1.0f}, Row{1, 1, 1.5f}, Row{2, 2, 2.0f}, Row{1, 3, 3.0f},
                         Row{3, 0, 2.0f}, Row{3, 1, 3.0f}, Row{3, 2, 4.0f}, Row{3, 3, 5.0f}}) {
        BracingModel m;
        m.ChooseBraceKind(r.kind, r.row);
        EXPECT_EQ(m.BraceMultiplier(), r.expected) << r.kind << "/" << r.row;
    }
    // Switching between the kinds keeps the row and recomputes.
    BracingModel m;
    m.ChooseBraceKind(2, 2);
    m.ChooseBraceKind(3, 2);
    EXPECT_EQ(m.BraceMultiplier(), 4.0f);
    m.ChoosePanel();
    m.ChooseBraceKind(1, 2);
    EXPECT_EQ(m.BraceMultiplier(), 2.0f);
    // A size chosen while the panel is the element is not doubled.
    m.ChoosePanel();
    m.ChooseBraceSize(3);
    EXPECT_EQ(m.BraceSizeIndex(), 3);
    EXPECT_EQ(m.BraceMultiplier(), 3.0f);
}

TEST(BracingModel, OutOfRangeRowsLeaveTheMultipliers) {
    BracingModel m;
    m.ChooseBraceKind(2, 1);
    m.ChooseBraceKind(1, -1);
    EXPECT_EQ(m.BraceMultiplier(), 1.5f);
    m.ChoosePanelMultiplier(3);
    m.ChoosePanelMultiplier(10);
    m.ChoosePanelMultiplier(-1);
    EXPECT_EQ(m.PanelMultiplier(), 2.0f);
    for (int r = 0; r <= 9; ++r) {
        m.ChoosePanelMultiplier(r);
        EXPECT_EQ(m.PanelMultiplier(), 0.5f * static_cast<float>(r + 1));
    }
}

TEST(BracingModel, BaysInUseFollowPatternAndMirror) {
    struct Use {
        int pattern, reversed;
        const char* bays; // tags in use
    };
    for (const Use& u : {Use{21, 0, "1"}, Use{21, 1, "2"}, Use{22, 0, "12"}, Use{22, 1, "12"},
                         Use{11, 0, "13"}, Use{11, 1, "24"}, Use{12, 0, "234"}, Use{12, 1, "134"},
                         Use{13, 0, "1234"}, Use{13, 1, "1234"}, Use{0, 0, ""}}) {
        BracingModel m;
        m.ChoosePattern(u.pattern);
        if (u.reversed != 0) {
            m.Reverse();
        }
        std::string got;
        for (int tag = 1; tag <= 4; ++tag) {
            if (m.bayInUse(tag)) {
                got += static_cast<char>('0' + tag);
            }
        }
        EXPECT_EQ(got, u.bays) << u.pattern << "/" << u.reversed;
    }
}

} // namespace
