#include "tester/sha256.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace zentrope {
namespace {

constexpr std::array<uint32_t, 64> RoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr uint32_t Rotr(uint32_t x, int r) {
    return (x >> r) | (x << (32 - r));
}

void CompressBlock(std::array<uint32_t, 8>& h, const unsigned char* block) {
    std::array<uint32_t, 64> w{};
    for (int t = 0; t < 16; ++t)
        w[t] = uint32_t{block[4 * t]} << 24 | uint32_t{block[4 * t + 1]} << 16 |
               uint32_t{block[4 * t + 2]} << 8 | uint32_t{block[4 * t + 3]};
    for (int t = 16; t < 64; ++t) {
        const uint32_t s0 = Rotr(w[t - 15], 7) ^ Rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
        const uint32_t s1 = Rotr(w[t - 2], 17) ^ Rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
        w[t] = w[t - 16] + s0 + w[t - 7] + s1;
    }
    std::array<uint32_t, 8> v = h;
    for (int t = 0; t < 64; ++t) {
        const uint32_t s1 = Rotr(v[4], 6) ^ Rotr(v[4], 11) ^ Rotr(v[4], 25);
        const uint32_t choose = (v[4] & v[5]) ^ (~v[4] & v[6]);
        const uint32_t t1 = v[7] + s1 + choose + RoundConstants[t] + w[t];
        const uint32_t s0 = Rotr(v[0], 2) ^ Rotr(v[0], 13) ^ Rotr(v[0], 22);
        const uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
        v = {t1 + s0 + majority, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
    }
    for (int i = 0; i < 8; ++i)
        h[i] += v[i];
}

} // namespace

std::string Sha256Hex(std::string_view bytes) {
    std::array<uint32_t, 8> h = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    const size_t whole = bytes.size() / 64 * 64;
    for (size_t at = 0; at < whole; at += 64)
        CompressBlock(h, reinterpret_cast<const unsigned char*>(bytes.data() + at));
    // The rest, a one bit, zeros, and the length in bits as 64 bits big-endian.
    std::array<unsigned char, 128> tail{};
    const size_t rest = bytes.size() - whole;
    std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(whole), bytes.end(), tail.begin());
    tail[rest] = 0x80;
    const size_t tailSize = rest < 56 ? 64 : 128;
    const uint64_t bits = static_cast<uint64_t>(bytes.size()) * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailSize - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
    for (size_t at = 0; at < tailSize; at += 64)
        CompressBlock(h, tail.data() + at);
    static constexpr char Hex[] = "0123456789abcdef";
    std::string hex;
    for (uint32_t word : h)
        for (int shift = 28; shift >= 0; shift -= 4)
            hex += Hex[(word >> shift) & 15];
    return hex;
}

std::optional<std::string> FileSha256Hex(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return std::nullopt;
    return Sha256Hex(bytes);
}

} // namespace zentrope
