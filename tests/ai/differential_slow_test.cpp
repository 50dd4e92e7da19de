// The fast driver against the reference on thousands of random positions at levels 1 to 4 and a
// sample at level 5, with small and large tables: too slow for the sanitizer build.

#include "ai/decision_runs.h"

namespace quorbel::testing {
namespace {

class DifferentialSlow : public ::testing::TestWithParam<DifferentialSample> {};

TEST_P(DifferentialSlow, FastDriverDecidesAsTheReference) {
    CompareOnRandomPositions(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Levels, DifferentialSlow,
    ::testing::Values(DifferentialSample{"Level1", 1, 1500, 1, 40, false, 201, 12, false},
                      DifferentialSample{"Level1Quiet", 1, 1500, 1, 40, true, 202, 16, false},
                      DifferentialSample{"Level2", 2, 1500, 1, 40, false, 203, 12, false},
                      DifferentialSample{"Level2Quiet", 2, 1500, 1, 40, true, 204, 16, false},
                      DifferentialSample{"Level3", 3, 1000, 1, 40, false, 205, 12, false},
                      DifferentialSample{"Level3Quiet", 3, 1000, 1, 40, true, 206, 16, true},
                      DifferentialSample{"Level4", 4, 150, 2, 36, false, 207, 12, false},
                      DifferentialSample{"Level4Quiet", 4, 150, 2, 36, true, 208, 20, true},
                      DifferentialSample{"Level5", 5, 8, 8, 30, false, 209, 16, false},
                      DifferentialSample{"Level5Quiet", 5, 8, 8, 30, true, 210, 22, true}),
    [](const ::testing::TestParamInfo<DifferentialSample>& info) {
        return std::string(info.param.name);
    });

}  // namespace
}  // namespace quorbel::testing
