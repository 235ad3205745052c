#include "calc/PatternTable.h"

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
        EXPECT_FALSE(koruba::bayInUse(1, tag, 0)) << tag;
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

} // namespace
