#include "results/grid/figure_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

using namespace zentrope;

TEST(FigureText, WholeDigitsAndABoundForUnderflow) {
    // Each text reads back as the very same double.
    for (const double value : {2.3e-54, 0.1, 1.0 / 3.0, 0.00200551, 45.2, 1e-300, 1.0})
        EXPECT_EQ(std::strtod(FigureText(value).c_str(), nullptr), value) << value;
    EXPECT_EQ(FigureText(2.3e-54), "2.3e-54");
    EXPECT_EQ(FigureText17(1.0 / 3.0), "0.33333333333333331");
    EXPECT_EQ(std::strtod(FigureText17(2.3e-54).c_str(), nullptr), 2.3e-54);
    // Products that underflowed to 0, or to a denormal, are no figures to print as such.
    for (const double tiny : {0.0, 4.9e-324, 9.99e-301}) {
        EXPECT_EQ(FigureText(tiny), "< 1e-300");
        EXPECT_EQ(FigureText17(tiny), "< 1e-300");
        EXPECT_EQ(ScientificText(tiny, 1), "< 1e-300");
    }
    EXPECT_EQ(ScientificText(1.234e-5, 2), "1.23e-05");
    EXPECT_EQ(FigureText(std::numeric_limits<double>::quiet_NaN()), "-");
    EXPECT_EQ(FigureText(-1), "-1");
}
