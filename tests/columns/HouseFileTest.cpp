#include "columns/HouseFile.h"
#include "columns/HouseCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace koruba::columns {
namespace {

// The two-storey house of the format's description.
const std::string kTwoStoreys = R"({
  "format": "koruba-x-house", "version": 1,
  "project": "山田邸新築工事", "designer": "佐藤",
  "rules": 2025,
  "grid": {"x": [["X0", 0], ["X1", 910], ["X2", 1820]],
           "y": [["Y0", 0], ["Y1", 1820]]},
  "storeys": [
    {"storey": 1, "height": 2.90,
     "outline": [["X0","Y0"], ["X2","Y0"], ["X2","Y1"], ["X0","Y1"]],
     "columns": [{"at": ["X0","Y0"], "name": "通し柱A", "through": true}, {"at": ["X2","Y0"]},
                 {"at": ["X2","Y1"]}, {"at": ["X0","Y1"]}],
     "walls": [{"from": ["X0","Y0"], "to": ["X2","Y0"], "bay": "X45+P2.5"},
               {"from": ["X0","Y0"], "to": ["X0","Y1"], "bay": "R45"}]},
    {"storey": 2, "height": 3.30,
     "outline": [["X0","Y0"], ["X1","Y0"], ["X1","Y1"], ["X0","Y1"]],
     "columns": [{"at": ["X0","Y0"]}, {"at": ["X1","Y0"]}, {"at": ["X1","Y1"]}, {"at": ["X0","Y1"]}],
     "walls": [{"from": ["X0","Y0"], "to": ["X1","Y0"], "bay": "L30"}]}
  ]
})";

// A U-shaped 平屋: the notch X1..X2, Y1..Y2 is outside.
const std::string kUShape = R"({"format": "koruba-x-house", "version": 1,
  "grid": {"x": [["X0", 0], ["X1", 910], ["X2", 1820], ["X3", 2730]],
           "y": [["Y0", 0], ["Y1", 910], ["Y2", 1820]]},
  "storeys": [{"storey": 1,
    "outline": [["X0","Y0"], ["X3","Y0"], ["X3","Y2"], ["X2","Y2"], ["X2","Y1"], ["X1","Y1"],
                ["X1","Y2"], ["X0","Y2"]],
    "columns": [{"at": ["X0","Y0"]}, {"at": ["X3","Y0"]}, {"at": ["X3","Y2"]}, {"at": ["X2","Y2"]},
                {"at": ["X2","Y1"]}, {"at": ["X1","Y1"]}, {"at": ["X1","Y2"]}, {"at": ["X0","Y2"]}],
    "walls": [{"from": ["X0","Y0"], "to": ["X3","Y0"], "bay": "P2"}]}]})";

struct Refusal {
    const char* name;
    const std::string* base;
    std::vector<std::pair<std::string, std::string>> edits;
    std::string error;
};

std::string edited(const Refusal& r) {
    std::string text = *r.base;
    for (const auto& [from, to] : r.edits) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << r.name << ": " << from;
        if (at != std::string::npos) {
            text.replace(at, from.size(), to);
        }
    }
    return text;
}

const std::vector<Refusal>& refusals() {
    static const std::vector<Refusal> rows{
        {"NoSuchXName",
         &kTwoStoreys,
         {{R"([["X0","Y0"], ["X2","Y0"])", R"([["X0","Y0"], ["X9","Y0"])"}},
         R"(storeys[0].outline[1]: no grid line "X9" in grid.x)"},
        {"NoSuchYName",
         &kTwoStoreys,
         {{R"({"at": ["X2","Y1"]})", R"({"at": ["X2","Y7"]})"}},
         R"(storeys[0].columns[2].at: no grid line "Y7" in grid.y)"},
        {"PointNotAPair",
         &kTwoStoreys,
         {{R"("to": ["X1","Y0"], "bay": "L30")", R"("to": ["X1"], "bay": "L30")"}},
         R"(storeys[1].walls[0].to: a grid point is written as ["X1", "Y2"])"},
        {"WallOffOneGridLine",
         &kTwoStoreys,
         {{R"("to": ["X2","Y0"], "bay")", R"("to": ["X2","Y1"], "bay")"}},
         "storeys[0].walls[0] (X0-Y0 to X2-Y1): a wall must run along one grid line"},
        {"WallOfOnePoint",
         &kTwoStoreys,
         {{R"("to": ["X0","Y1"], "bay")", R"("to": ["X0","Y0"], "bay")"}},
         "storeys[0].walls[1] (X0-Y0 to X0-Y0): a wall needs two different points"},
        {"WallEndNotAColumn",
         &kTwoStoreys,
         {{R"("to": ["X2","Y0"], "bay")", R"("to": ["X1","Y0"], "bay")"}},
         "storeys[0].walls[0] (X0-Y0 to X1-Y0): the wall end X1-Y0 is not a column of storey 1"},
        {"ColumnInsideWall",
         &kTwoStoreys,
         {{R"({"at": ["X2","Y0"]},)", R"({"at": ["X2","Y0"]}, {"at": ["X1","Y0"]},)"}},
         "storeys[0].walls[0] (X0-Y0 to X2-Y0): the column X1-Y0 stands inside the wall; split "
         "the wall there"},
        {"OverlappingWalls",
         &kTwoStoreys,
         {{R"("bay": "L30"}])",
           R"("bay": "L30"}, {"from": ["X1","Y0"], "to": ["X0","Y0"], "bay": "R45"}])"}},
         "storeys[1].walls[1]: the wall overlaps storeys[1].walls[0] on grid line Y0"},
        {"OutlineVertexWithoutColumn",
         &kTwoStoreys,
         {{R"(                 {"at": ["X2","Y1"]}, )", "                 "}},
         "storeys[0].outline[2] (X2-Y1): no column of storey 1 stands at this outline vertex"},
        {"OutlineNotClosed",
         &kTwoStoreys,
         {{R"(["X2","Y1"], ["X0","Y1"]])", R"(["X2","Y1"], ["X1","Y1"]])"}},
         "storeys[0].outline: the outline is not closed: from its last point X1-Y1 back to its "
         "first X0-Y0 is not along one grid line"},
        {"OutlineTooShort",
         &kTwoStoreys,
         {{R"(["X1","Y1"], ["X0","Y1"]])", R"(["X1","Y1"]])"}},
         "storeys[1].outline: a closed outline needs at least four points"},
        {"OutlineFirstPointRepeated",
         &kTwoStoreys,
         {{R"(["X1","Y1"], ["X0","Y1"]])", R"(["X1","Y1"], ["X0","Y1"], ["X0","Y0"]])"}},
         "storeys[1].outline: the first point X0-Y0 is written again at the end"},
        {"OutlineEdgeOffGridLine",
         &kTwoStoreys,
         {{R"([["X0","Y0"], ["X1","Y0"], ["X1","Y1"])",
           R"([["X0","Y0"], ["X1","Y1"], ["X1","Y0"])"}},
         "storeys[1].outline[0] to [1] (X0-Y0 to X1-Y1): an outline edge must run along one grid "
         "line"},
        {"OutlineCrossesItself",
         &kTwoStoreys,
         {{R"([["X0","Y0"], ["X2","Y0"], ["X2","Y1"], ["X0","Y1"]])",
           R"([["X0","Y0"], ["X1","Y0"], ["X1","Y1"], ["X2","Y1"], ["X2","Y0"]])"}},
         "storeys[0].outline: the outline crosses itself"},
        {"ColumnOutsideOutline",
         &kTwoStoreys,
         {{R"({"at": ["X1","Y1"]}, {"at": ["X0","Y1"]}])",
           R"({"at": ["X1","Y1"]}, {"at": ["X0","Y1"]}, {"at": ["X2","Y0"]}])"}},
         "storeys[1].columns[4] (X2-Y0): the column stands outside the outline of storey 2"},
        {"WallOutsideOutline",
         &kUShape,
         {{R"("bay": "P2"}])",
           R"("bay": "P2"}, {"from": ["X1","Y2"], "to": ["X2","Y2"], "bay": "R45"}])"}},
         "storeys[0].walls[1] (X1-Y2 to X2-Y2): the wall runs outside the outline of storey 1"},
        {"BadToken",
         &kTwoStoreys,
         {{R"("bay": "R45")", R"("bay": "R46")"}},
         R"(storeys[0].walls[1].bay: "R46": brace size must be 15, 30, 45 or 90)"},
        {"HeightOutOfRange",
         &kTwoStoreys,
         {{R"("height": 3.30)", R"("height": 4.60)"}},
         R"(storeys[1].height: "4.6": a storey height is given in metres from 2.00 to 4.50)"},
        {"HeightBeyondCentimetre",
         &kTwoStoreys,
         {{R"("height": 2.90)", R"("height": 2.905)"}},
         R"(storeys[0].height: "2.905": a storey height is given in metres)"},
        {"HeightMissingUnder2025",
         &kTwoStoreys,
         {{R"("height": 2.90,)", ""}},
         "storeys[0]: the 2025 rules need the height of storey 1"},
        {"DuplicateMember",
         &kTwoStoreys,
         {{R"("rules": 2025,)", R"("rules": 2025, "rules": 2000,)"}},
         R"(the file: the member "rules" appears twice)"},
        {"DuplicateColumn",
         &kTwoStoreys,
         {{R"({"at": ["X2","Y0"]},)", R"({"at": ["X2","Y0"]}, {"at": ["X2","Y0"], "name": "B"},)"}},
         "storeys[0].columns[2] (X2-Y0): a second column at the same grid point"},
        {"DuplicateColumnName",
         &kTwoStoreys,
         {{R"({"at": ["X2","Y0"]},)", R"({"at": ["X2","Y0"], "name": "X0-Y1"},)"}},
         R"(storeys[0].columns[3] (X0-Y1): the name "X0-Y1" is used by another column)"},
        {"DuplicateStorey",
         &kTwoStoreys,
         {{R"({"storey": 2,)", R"({"storey": 1,)"}},
         "storeys[1].storey: storey 1 appears twice"},
        {"UnknownMember",
         &kTwoStoreys,
         {{R"({"at": ["X1","Y0"]})", R"({"at": ["X1","Y0"], "nmae": "C"})"}},
         R"(storeys[1].columns[1]: unknown member "nmae")"},
        {"GridNotIncreasing",
         &kTwoStoreys,
         {{R"(["X1", 910])", R"(["X1", 0])"}},
         "grid.x[1] (X1 at 0 mm): grid lines must be strictly increasing, but X0 is at 0 mm"},
        {"GridPositionNotWhole",
         &kTwoStoreys,
         {{R"(["X1", 910])", R"(["X1", 910.5])"}},
         "grid.x[1][1]: a position is a whole number of millimetres"},
        {"DuplicateGridName",
         &kTwoStoreys,
         {{R"(["Y1", 1820])", R"(["Y0", 1820])"}},
         R"(grid.y[1]: grid name "Y0" is used twice)"},
        {"RulesNeither2000Nor2025",
         &kTwoStoreys,
         {{R"("rules": 2025)", R"("rules": "2010")"}},
         R"(rules: "2010" must be 2000 or 2025)"},
        {"ThirdStorey",
         &kTwoStoreys,
         {{R"({"storey": 2,)", R"({"storey": 3,)"}},
         "storeys[1].storey: must be 1 or 2"},
        {"OnlyStoreyIsNumbered2",
         &kUShape,
         {{R"({"storey": 1,)", R"({"storey": 2,)"}},
         "storeys: a house has storey 1 alone (平屋) or storeys 1 and 2, each once"},
        {"WrongFormat",
         &kTwoStoreys,
         {{R"("koruba-x-house")", R"("koruba-x-list")"}},
         R"(format: "koruba-x-list" is not a KORUBA-X house ("koruba-x-house"))"},
        {"NotJson",
         &kTwoStoreys,
         {{R"("version": 1,)", R"("version": 1)"}},
         "the file is not readable JSON"},
    };
    return rows;
}

class HouseFileRefusal : public testing::TestWithParam<Refusal> {};

TEST_P(HouseFileRefusal, NamesTheMemberAndThePlace) {
    House house;
    house.project = "kept";
    std::string error;
    EXPECT_FALSE(readHouse(edited(GetParam()), house, error));
    EXPECT_NE(error.find(GetParam().error), std::string::npos)
        << "message: " << error << "\nexpected: " << GetParam().error;
    EXPECT_EQ(house.project, "kept"); // a refused file changes nothing
}

INSTANTIATE_TEST_SUITE_P(Rows, HouseFileRefusal, testing::ValuesIn(refusals()),
                         [](const testing::TestParamInfo<Refusal>& i) { return i.param.name; });

TEST(HouseFile, BothBasesAreAccepted) {
    for (const std::string& text : {kTwoStoreys, kUShape, "\xEF\xBB\xBF" + kTwoStoreys}) {
        House h;
        std::string error;
        EXPECT_TRUE(readHouse(text, h, error)) << error;
    }
}

// A file this program wrote reads back to the same house and writes again
// to the same bytes; names that need escapes survive.
TEST(HouseFile, WrittenFileReadsBackToTheSameBytes) {
    House h;
    std::string error;
    ASSERT_TRUE(readHouse(kTwoStoreys, h, error)) << error;
    h.project = "山田邸 \"南棟\"\\\n\t\x01";
    const std::string first = writeHouse(h);
    House again;
    ASSERT_TRUE(readHouse(first, again, error)) << error << "\n" << first;
    EXPECT_EQ(again, h);
    EXPECT_EQ(writeHouse(again), first);
    EXPECT_NE(first.find(R"("project": "山田邸 \"南棟\"\\\n\t\u0001")"), std::string::npos);
    EXPECT_NE(first.find(R"({"at": ["X0", "Y0"], "name": "通し柱A", "through": true})"),
              std::string::npos);
    EXPECT_NE(first.find(R"("height": 3.30,)"), std::string::npos);
    EXPECT_NE(first.find(R"("bay": "X45+P2.5")"), std::string::npos);
}

} // namespace
} // namespace koruba::columns
