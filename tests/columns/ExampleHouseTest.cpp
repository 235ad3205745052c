#include "calc/CalcNValue.h"
#include "calc/HouseDerivation.h"
#include "columns/HouseFile.h"
#include "tests/support/WindowAgreement.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace koruba::columns {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Example {
    const char* file;
    std::size_t storeys;
    std::size_t minColumnsPerStorey;
};

class ExampleHouse : public testing::TestWithParam<Example> {};

// Each example reads, is written back byte for byte as it is stored, and
// every column direction that one of the window's patterns draws gives the
// window's result float for float.
TEST_P(ExampleHouse, ReadsBackAndAgreesWithTheCalculator) {
    const std::string text = slurp(std::string(KORUBA_EXAMPLES_DIR) + "/" + GetParam().file);
    ASSERT_FALSE(text.empty());
    House h;
    std::string error;
    ASSERT_TRUE(readHouse(text, h, error)) << error;
    EXPECT_EQ(writeHouse(h), text);
    ASSERT_EQ(h.storeys.size(), GetParam().storeys);
    for (const Storey& s : h.storeys) {
        EXPECT_GE(s.columns.size(), GetParam().minColumnsPerStorey);
    }

    const std::vector<ColumnResult> all = deriveHouse(h);
    for (const ColumnResult& c : all) {
        EXPECT_NE(c.result().JointClass, 0) << c.name; // heights and all were there
    }
    const WindowAgreement a = expectWindowAgrees(h, all);
    EXPECT_GT(a.mapped, 40);
    // Only the fourth corner combination has no pattern; these examples
    // have none of it.
    EXPECT_EQ(a.unmapped, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, ExampleHouse,
                         testing::Values(Example{"hiraya.kxhouse", 1, 25},
                                         Example{"house2f.kxhouse", 2, 38}),
                         [](const testing::TestParamInfo<Example>& i) {
                             return i.param.storeys == 1 ? std::string("Hiraya")
                                                         : std::string("TwoStoreys");
                         });

} // namespace
} // namespace koruba::columns
