#pragma once

#include "calc/CalcNValue.h"
#include "calc/HouseDerivation.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace koruba {

struct WindowAgreement {
    int mapped = 0;   // column directions compared with the window
    int unmapped = 0; // those no pattern draws
};

// Every direction of every derived column that one of the window's
// patterns draws must give the window's result for that pattern float for
// float. Only the order of a storey's two wall sums may differ: the plan
// keeps them by coordinate, the window by the side it draws them on.
inline WindowAgreement expectWindowAgrees(const House& h, const std::vector<ColumnResult>& all) {
    const auto heightOf = [&](std::int32_t number) {
        for (const Storey& s : h.storeys) {
            if (s.number == number) {
                return s.heightCm;
            }
        }
        return 0;
    };
    WindowAgreement a;
    for (const ColumnResult& c : all) {
        CalcConditions cond{h.rules, heightOf(c.storey), 0};
        if (c.frame == HouseFrame::LowerStorey) {
            cond.h2Cm = heightOf(2);
        }
        for (const HouseDirection d : {HouseDirection::X, HouseDirection::Y}) {
            const std::optional<WindowFrame> w = windowFrameOf(c, d);
            if (!w) {
                ++a.unmapped;
                continue;
            }
            SCOPED_TRACE(std::to_string(c.storey) + "F " + c.name +
                         (d == HouseDirection::X ? " X" : " Y"));
            ++a.mapped;
            const ResultType win = CalcNValue(w->bays, w->patternTag, w->mirrored ? 1 : 0, cond);
            ResultType derived = c.in(d).result;
            if (derived.WallA1Left != win.WallA1Left) {
                std::swap(derived.WallA1Left, derived.WallA1Right);
            }
            if (derived.WallA2Left != win.WallA2Left) {
                std::swap(derived.WallA2Left, derived.WallA2Right);
            }
            EXPECT_EQ(derived, win);
        }
    }
    return a;
}

} // namespace koruba
