#include "model/sizes.h"

#include "model/c_text.h"

#include <cmath>
#include <cstdio>

namespace zentrope {
namespace {

double UnitFactor(char unit) {
    switch (unit) {
    case 'b':
        return 1;
    case 'B':
        return 8;
    case 'K':
        return 1024;
    case 'M':
        return 1048576;
    case 'G':
        return 1073741824;
    case 'k':
        return 1000;
    case 'm':
        return 1000000;
    case 'g':
        return 1000000000;
    default:
        return 1;
    }
}

double FactorAfterFirstBlank(std::string_view text) {
    size_t blank = text.find(' ');
    if (blank == std::string_view::npos)
        return 1;
    size_t c = text.find_first_not_of(' ', blank);
    if (c == std::string_view::npos)
        return 1;
    double factor = UnitFactor(text[c]);
    if (c + 1 < text.size() && text[c + 1] == 'B')
        factor *= 8;
    return factor;
}

struct Division {
    uint64_t quotient;
    int count;
};

Division DivideWhileExact(uint64_t count, uint64_t divisor) {
    Division d{count, 0};
    while (d.count < 3 && d.quotient % divisor == 0) {
        d.quotient /= divisor;
        ++d.count;
    }
    return d;
}

} // namespace

std::string UnitAbbreviation(std::string_view unitWord, int index) {
    size_t length = (index == 0 || index == 7) ? 1 : 2;
    return std::string(unitWord.substr(0, length));
}

ParsedSize ParseSizeWithUnit(std::string_view text) {
    double size = std::trunc(AtofC(text) * FactorAfterFirstBlank(text));
    if (!(size >= 0 && size <= 4294967295.0))
        return {0, false};
    return {static_cast<uint32_t>(size), true};
}

ReducedSize ReduceBitCount(uint64_t count) {
    if (count == 0)
        return {0, 0};
    Division binary = DivideWhileExact(count, 1024);
    Division decimal = DivideWhileExact(count, 1000);
    if (decimal.count > binary.count)
        return {decimal.quotient, decimal.count + 3};
    return {binary.quotient, binary.count};
}

std::string FormatApproxSize(uint64_t count) {
    static constexpr char Letters[] = {'K', 'M', 'G'};
    double v = static_cast<double>(count);
    int divisions = 0;
    while (divisions < 3 && v > 1023) {
        v /= 1024;
        ++divisions;
    }
    if (divisions == 0)
        return {};
    char letter[2] = {Letters[divisions - 1], '\0'};
    return ", " + FormatFixed(v, 1) + " " + letter + "b";
}

} // namespace zentrope
