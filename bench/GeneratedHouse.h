#pragma once

// The large house of the benchmarks, built in code.
#include "calc/House.h"

#include <array>
#include <string>

namespace koruba::bench {

// A grid of 21 x 20 lines on the 910 mm module. Storey 1 stands on all of
// it (420 columns), storey 2 on all but the last two X lines (378): a
// 下屋 along one side. Every grid segment holds a wall, the elements
// cycling through braces of each kind and size and panels.
inline House generatedHouse() {
    constexpr std::int32_t kX = 21;
    constexpr std::int32_t kY = 20;
    static const std::array<BayCell, 5> bays = [] {
        std::array<BayCell, 5> b{};
        BraceMultiplierOfRow(2, BraceRisingRight, kBayMultiplierCap2000, b[0].BraceMult);
        b[0].BraceKind = BraceRisingRight;
        b[0].BraceSize = 2;
        BraceMultiplierOfRow(1, BraceRisingLeft, kBayMultiplierCap2000, b[1].BraceMult);
        b[1].BraceKind = BraceRisingLeft;
        b[1].BraceSize = 1;
        BraceMultiplierOfRow(2, CrossBrace, kBayMultiplierCap2000, b[2].BraceMult);
        b[2].BraceKind = CrossBrace;
        b[2].BraceSize = 2;
        b[3].PanelOn = 1;
        b[3].PanelMult = panelMultiplierOfRow(4);
        b[4] = b[0];
        b[4].PanelOn = 1;
        b[4].PanelMult = panelMultiplierOfRow(2);
        return b;
    }();
    House h;
    h.rules = RuleSet::Revision2025;
    for (std::int32_t i = 0; i < kX; ++i) {
        h.gridX.push_back({"X" + std::to_string(i), 910 * i});
    }
    for (std::int32_t i = 0; i < kY; ++i) {
        h.gridY.push_back({"Y" + std::to_string(i), 910 * i});
    }
    for (std::int32_t s = 1; s <= 2; ++s) {
        const std::int32_t xs = s == 1 ? kX : kX - 2;
        Storey st;
        st.number = s;
        st.heightCm = s == 1 ? 295 : 340;
        st.outline = {{0, 0}, {xs - 1, 0}, {xs - 1, kY - 1}, {0, kY - 1}};
        std::size_t k = 0;
        for (std::int32_t x = 0; x < xs; ++x) {
            for (std::int32_t y = 0; y < kY; ++y) {
                st.columns.push_back({{x, y}, "", false});
                if (x + 1 < xs) {
                    st.walls.push_back({{x, y}, {x + 1, y}, bays[k++ % bays.size()]});
                }
                if (y + 1 < kY) {
                    st.walls.push_back({{x, y}, {x, y + 1}, bays[k++ % bays.size()]});
                }
            }
        }
        h.storeys.push_back(std::move(st));
    }
    return h;
}

} // namespace koruba::bench
