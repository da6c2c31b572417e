// Figures written out whole: a p-value of 2.3e-54 must not read as 0.0000000. Values the
// double arithmetic could not hold (a product that underflowed to 0) are written as a bound.
#pragma once

#include <string>
#include <string_view>

namespace zentrope {

// Below this a figure has lost its digits to underflow; it is written as "< 1e-300".
inline constexpr double SmallestFigure = 1e-300;
inline constexpr std::string_view UnderflowText = "< 1e-300";

// The shortest text that reads back as the same double ("2.3e-54", "0.5", "0").
std::string NumberText(double value);
// NumberText for figures: "-" for NaN, and the bound below SmallestFigure.
std::string FigureText(double value);
// Scientific notation with `digits` decimals ("1.2e-05"), for short summaries; the same bound
// and NaN text as FigureText.
std::string ScientificText(double value, int digits);
// "%.17g", for files read by other programs; the same bound and NaN text as FigureText.
std::string FigureText17(double value);

} // namespace zentrope
