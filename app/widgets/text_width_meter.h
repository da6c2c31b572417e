// Text widths for sizing result table columns over millions of cells: plain ASCII texts are
// summed from a table of character advances (as a grid's text-width measure adds them up),
// anything else is measured by the font.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <array>
#include <string_view>

class TextWidthMeter {
public:
    explicit TextWidthMeter(const QFont& font);
    int Width(std::string_view utf8) const;

private:
    QFontMetrics metrics_;
    std::array<int, 128> ascii_{};
};
