#include "columns/HouseEdit.h"
#include "calc/HouseDerivation.h"
#include "columns/BayToken.h"
#include "columns/HouseCheck.h"
#include "columns/HouseFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace koruba::columns {
namespace {

House exampleHouse() {
    std::ifstream in(std::string(KORUBA_EXAMPLES_DIR) + "/house2f.kxhouse", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    House h;
    std::string error;
    EXPECT_TRUE(readHouse(s.str(), h, error)) << error;
    return h;
}

std::map<std::string, float> nByColumn(const House& h) {
    std::map<std::string, float> n;
    for (const ColumnResult& c : deriveHouse(h)) {
        n[std::to_string(c.storey) + c.name] = c.result().NValue;
    }
    return n;
}

BayCell bay(const char* token) {
    BayCell cell;
    std::string error;
    EXPECT_TRUE(parseBayToken(token, cell, error)) << error;
    return cell;
}

// A grid line added between two others renumbers every point behind it in
// both storeys, so that nothing moves and every column keeps its N; taking
// it out again gives the file back byte for byte.
TEST(HouseEdit, GridLinesInsertedAndDeletedKeepEveryPoint) {
    House h = exampleHouse();
    const std::string before = writeHouse(h);
    const auto n = nByColumn(h);

    ASSERT_FALSE(addGridLine(h, HouseDirection::X, "X2a", 2275));
    ASSERT_FALSE(addGridLine(h, HouseDirection::Y, "Y0a", 455));
    EXPECT_EQ(h.gridX[3].name, "X2a");
    EXPECT_EQ(houseError(h), std::nullopt);
    EXPECT_EQ(nByColumn(h), n);
    EXPECT_TRUE(deleteGridLine(h, HouseDirection::X, 2)) << "X2 carries columns";
    EXPECT_TRUE(addGridLine(h, HouseDirection::X, "Y3", 100)) << "names are unique";
    EXPECT_TRUE(moveGridLine(h, HouseDirection::X, 3, 2730)) << "X2a may not pass X3";

    ASSERT_FALSE(deleteGridLine(h, HouseDirection::Y, 1));
    ASSERT_FALSE(deleteGridLine(h, HouseDirection::X, 3));
    EXPECT_EQ(writeHouse(h), before);
}

// A wall dragged over columns becomes one wall per bay, with columns at
// its new ends; a wall over another is refused and changes nothing.
TEST(HouseEdit, WallsSplitAtColumnsAndNeverOverlap) {
    House h = newHouse();
    ASSERT_FALSE(setOutline(h, 1, {{0, 0}, {4, 0}, {4, 3}, {0, 3}}));
    ASSERT_FALSE(addColumn(h, 1, {2, 0}));
    ASSERT_FALSE(placeWall(h, 1, {3, 0}, {0, 0}, bay("R45")));
    ASSERT_EQ(h.storeys[0].walls.size(), 2u);
    EXPECT_EQ(h.storeys[0].walls[0].from, (GridPoint{0, 0}));
    EXPECT_EQ(h.storeys[0].walls[0].to, (GridPoint{2, 0}));
    EXPECT_EQ(h.storeys[0].walls[1].to, (GridPoint{3, 0}));
    EXPECT_EQ(houseError(h), std::nullopt);

    const House kept = h;
    EXPECT_TRUE(placeWall(h, 1, {1, 0}, {4, 0}, bay("P2.5")));
    EXPECT_TRUE(placeWall(h, 1, {1, 0}, {2, 1}, bay("P2.5")));
    EXPECT_TRUE(removeColumn(h, 1, {2, 0}));
    EXPECT_EQ(h, kept);

    // The outline's far corner dragged out a line: the box grows, its
    // neighbours follow, the columns left inside stay.
    ASSERT_FALSE(moveOutlineVertex(h, 1, 2, {4, 4}));
    EXPECT_EQ(h.storeys[0].outline, (std::vector<GridPoint>{{0, 0}, {4, 0}, {4, 4}, {0, 4}}));
    EXPECT_EQ(houseError(h), std::nullopt);
    ASSERT_FALSE(moveOutlineVertex(h, 1, 2, {3, 3}));
    EXPECT_EQ(houseError(h), std::nullopt) << "the columns at X4 and Y4 are left outside";

    ASSERT_FALSE(flipWallBrace(h, 1, 1));
    EXPECT_EQ(h.storeys[0].walls[1].bay.BraceKind, BraceRisingLeft);
    ASSERT_FALSE(setWallBay(h, 1, 1, BayCell{}));
    EXPECT_EQ(h.storeys[0].walls.size(), 1u);
}

} // namespace
} // namespace koruba::columns
