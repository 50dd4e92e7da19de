// The fast driver against the reference on random positions, a sample small enough for every run:
// candidates after the filter, every verdict and line count, and the exit must be the same.

#include "ai/decision_runs.h"

namespace quorbel::testing {
namespace {

class Differential : public ::testing::TestWithParam<DifferentialSample> {};

TEST_P(Differential, FastDriverDecidesAsTheReference) {
    CompareOnRandomPositions(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Levels, Differential,
    ::testing::Values(DifferentialSample{"Level1", 1, 200, 1, 36, false, 101, 12, false},
                      DifferentialSample{"Level1Quiet", 1, 100, 1, 36, true, 102, 12, false},
                      DifferentialSample{"Level2", 2, 150, 1, 36, false, 103, 12, false},
                      DifferentialSample{"Level2Quiet", 2, 100, 1, 36, true, 104, 12, false},
                      DifferentialSample{"Level3", 3, 40, 6, 36, false, 105, 12, false},
                      DifferentialSample{"Level3Quiet", 3, 40, 6, 36, true, 106, 12, true}),
    [](const ::testing::TestParamInfo<DifferentialSample>& info) {
        return std::string(info.param.name);
    });

}  // namespace
}  // namespace quorbel::testing
