#include "results/grid/figure_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zentrope {
namespace {

// The texts both forms share; empty when the value is written as a number.
std::string_view SpecialText(double value) {
    if (std::isnan(value))
        return "-";
    if (value >= 0 && value < SmallestFigure)
        return UnderflowText;
    return {};
}

} // namespace

std::string FigureText(double value) {
    if (const std::string_view special = SpecialText(value); !special.empty())
        return std::string(special);
    return NumberText(value);
}

std::string NumberText(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string ScientificText(double value, int digits) {
    if (const std::string_view special = SpecialText(value); !special.empty())
        return std::string(special);
    char text[40];
    const int length = std::snprintf(text, sizeof text, "%.*e", digits, value);
    return std::string(text, size_t(length));
}

std::string FigureText17(double value) {
    if (const std::string_view special = SpecialText(value); !special.empty())
        return std::string(special);
    char text[40];
    const int length = std::snprintf(text, sizeof text, "%.17g", value);
    return std::string(text, size_t(length));
}

} // namespace zentrope
