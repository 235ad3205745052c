#include "calc/PatternTable.h"
#include "calc/BracingModel.h"

#include <gtest/gtest.h>

namespace {

using koruba::BayAddress;

// The table against the values of the notification: storeys, B1, B2 and L
// of each column position, and which patterns have a distinct mirror image.
TEST(PatternTable, HoldsTheFactorsOfTheNotification) {
    struct Row {
        int tag, storeys;
        float b1, b2, l;
        bool mirrorable, corner;
    };
    for (const Row& r :
         {Row{21, 1, 0.8f, 0.0f, 0.4f, true, true}, Row{22, 1, 0.5f, 0.0f, 0.6f, false, false},
          Row{11, 2, 0.8f, 0.8f, 1.0f, true, true}, Row{12, 2, 0.5f, 0.8f, 1.6f, true, false},
          Row{13, 2, 0.5f, 0.5f, 1.6f, false, false}}) {
        const koruba::FramePattern* p = koruba::framePattern(r.tag);
        ASSERT_NE(p, nullptr) << r.tag;
        EXPECT_EQ(p->storeys, r.storeys) << r.tag;
        EXPECT_EQ(koruba::StoreyCountOf(r.tag), r.storeys) << r.tag;
        EXPECT_EQ(p->b1, r.b1) << r.tag;
        EXPECT_EQ(p->b2, r.b2) << r.tag;
        EXPECT_EQ(p->l, r.l) << r.tag;
        EXPECT_EQ(p->mirrorable, r.mirrorable) << r.tag;
        EXPECT_EQ(p->cornerColumn, r.corner) << r.tag;
        // A pattern without a distinct mirror image reads the same bays.
        if (!r.mirrorable) {
            EXPECT_EQ(p->a1, p->a1Mirrored) << r.tag;
            EXPECT_EQ(p->a2, p->a2Mirrored) << r.tag;
        }
    }
}

TEST(PatternTable, OtherTagsAreNoPattern) {
    for (int tag : {0, 1, 10, 14, 20, 23, -21}) {
        EXPECT_EQ(koruba::framePattern(tag), nullptr) << tag;
        EXPECT_FALSE(koruba::IsPatternTag(tag)) << tag;
        EXPECT_EQ(koruba::StoreyCountOf(tag), 0) << tag;
        EXPECT_FALSE(koruba::BayInUse(1, tag, 0)) << tag;
    }
}

TEST(PatternTable, BayTagsAndAddressesConvertBothWays) {
    const BayAddress bays[] = {{2, 1}, {2, 2}, {1, 1}, {1, 2}};
    for (int tag = 1; tag <= 4; ++tag) {
        const auto bay = koruba::bayOfTag(tag);
        ASSERT_TRUE(bay.has_value()) << tag;
        EXPECT_EQ(*bay, bays[tag - 1]) << tag;
        EXPECT_EQ(koruba::tagOfBay(*bay), tag) << tag;
    }
    EXPECT_FALSE(koruba::bayOfTag(0).has_value());
    EXPECT_FALSE(koruba::bayOfTag(5).has_value());
}

// The bay sum: brace plus panel, cut at the cap of the 2000 method, never
// under the 2025 rules.
TEST(BayMultiplier, CapsOnlyUnderThe2000Method) {
    struct Case {
        const char* name;
        float brace, panel;
        koruba::RuleSet rules;
        float sum;
        bool capped;
    };
    using R = koruba::RuleSet;
    for (const Case& c : {Case{"cross 90x90 + 2.5, 2000", 5.0f, 2.5f, R::Notice2000, 5.0f, true},
                          Case{"cross 90x90 + 2.5, 2025", 5.0f, 2.5f, R::Revision2025, 7.5f, false},
                          Case{"exactly 5.0, 2000", 3.0f, 2.0f, R::Notice2000, 5.0f, false},
                          Case{"empty bay, 2025", 0.0f, 0.0f, R::Revision2025, 0.0f, false}}) {
        const koruba::BayCell cell{c.brace, koruba::CrossBrace, 3, c.panel > 0.0f ? 1 : 0, c.panel};
        const koruba::BayMultiplier m =
            koruba::bayMultiplier(cell, koruba::bayMultiplierCap(c.rules));
        EXPECT_EQ(m.sum, c.sum) << c.name;
        EXPECT_EQ(m.capped, c.capped) << c.name;
    }
}

} // namespace
