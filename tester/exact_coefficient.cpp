#include "tester/exact_coefficient.h"

#include "tester/byte_lanes.h"
#include "tester/lane_dft.h"

#include <array>
#include <complex>

namespace zentrope {
namespace {

using Complex = std::complex<double>;

// The plain product: std::complex's operator* checks for infinities on every call.
Complex Times(Complex a, Complex b) {
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

// For each of a word's eight bytes (most significant first) and each byte value, the sum of
// its bits' signs times their powers of the root: a word then costs eight look-ups.
using ByteSums = std::array<std::array<Complex, 256>, 8>;

ByteSums MakeByteSums(uint64_t k, uint64_t n) {
    std::array<Complex, 64> roots;
    for (uint64_t bit = 0; bit < 64; ++bit)
        roots[bit] = UnitRoot(bit * k, n);
    const ByteLanes<double> signs = MakeByteLanes(1.0, -1.0);
    ByteSums sums{};
    for (uint64_t byte = 0; byte < 8; ++byte)
        for (uint64_t v = 0; v < 256; ++v)
            for (uint64_t t = 0; t < 8; ++t)
                sums[byte][v] += signs[v][t] * roots[8 * byte + t];
    return sums;
}

// sum over b < n of x(from + b) exp(-2 pi i b k / n).
Complex RowCoefficient(const BitSequence& s, uint64_t from, uint64_t n, uint64_t k,
                       const ByteSums& sums) {
    Complex total = 0;
    uint64_t b = 0;
    // The root of each word comes from the previous one, and afresh every 64 words so that
    // rounding cannot build up.
    const Complex wordStep = UnitRoot(64 * k, n);
    Complex root = 1;
    for (uint64_t word = 0; b + 64 <= n; ++word, b += 64) {
        if (word % 64 == 0)
            root = UnitRoot(b * k % n, n);
        const uint64_t bits = BitsAt(s, from + b, 64);
        // Summed as a tree, so the additions of a word do not wait on each other.
        const auto part = [&](int byte) -> const Complex& {
            return sums[static_cast<size_t>(byte)][(bits >> (56 - 8 * byte)) & 0xFF];
        };
        const Complex inWord = ((part(0) + part(1)) + (part(2) + part(3))) +
                               ((part(4) + part(5)) + (part(6) + part(7)));
        total += Times(root, inWord);
        root = Times(root, wordStep);
    }
    for (; b < n; ++b)
        total += (BitAt(s, from + b) ? 1.0 : -1.0) * UnitRoot(b * k % n, n);
    return total;
}

} // namespace

double ExactSquaredModulus(const BitSequence& s, uint64_t rows, uint64_t columns, uint64_t k1,
                           uint64_t k2) {
    const ByteSums sums = MakeByteSums(k2, columns);
    Complex total = 0;
    for (uint64_t a = 0; a < rows; ++a)
        total +=
            Times(UnitRoot(a * k1 % rows, rows), RowCoefficient(s, a * columns, columns, k2, sums));
    return std::norm(total);
}

} // namespace zentrope
