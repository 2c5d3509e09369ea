// The painter's own rounding to pixels must give what the runtime's floor
// and lround give, value for value, or pictures would move by a pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "cadlib/dll/render_context.h"

namespace {

int ByFloor(double v) { return static_cast<int>(std::floor(v + 0.5)); }
int ByLround(double v) { return static_cast<int>(std::lround(v)); }

TEST(PixelRounding, MatchesTheRuntimeAtHalvesLimitsAndNonNumbers) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const double cases[] = {0.0,
                            -0.0,
                            0.5,
                            -0.5,
                            1.5,
                            -1.5,
                            2.5,
                            -2.5,
                            -7.5,
                            0.49999999999999994,
                            -0.49999999999999994,
                            1e-300,
                            -1e-300,
                            123456.49999999999,
                            2147483646.5,
                            2147483647.0,
                            2147483647.4,
                            2147483647.5,
                            2147483647.6,
                            2147483648.0,
                            -2147483648.0,
                            -2147483648.4,
                            -2147483648.5,
                            -2147483648.6,
                            -2147483649.0,
                            4503599627370495.5,
                            1e10,
                            -1e10,
                            1e300,
                            -1e300,
                            inf,
                            -inf,
                            nan};
    for (double v : cases) {
        EXPECT_EQ(cad::RoundPx(v), ByFloor(v)) << v;
        EXPECT_EQ(cad::RoundNear(v), ByLround(v)) << v;
    }
    // Coordinates as a view produces them, halves included.
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> whole(-40000, 40000), eighth(0, 7);
    std::uniform_real_distribution<double> any(-1e5, 1e5);
    for (int i = 0; i < 200000; ++i) {
        const double v = i % 2 ? whole(rng) + eighth(rng) / 8.0 : any(rng);
        ASSERT_EQ(cad::RoundPx(v), ByFloor(v)) << v;
        ASSERT_EQ(cad::RoundNear(v), ByLround(v)) << v;
    }
}

}  // namespace
