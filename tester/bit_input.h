// Where a run's bits come from: the files matching InFile, read in name order as one stream
// (the most significant bit of each byte first), or the built-in generator.
#pragma once

#include "tester/bit_sequence.h"
#include "tester/xoshiro.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace zentrope {

// The regular files a name or a wildcard pattern (* and ? in the last part) stands for,
// sorted by name; empty when none.
std::vector<std::string> ExpandInputPattern(const std::string& pattern);

class BitInput {
public:
    explicit BitInput(uint64_t seed);                  // the generator
    explicit BitInput(std::vector<std::string> files); // the files, in this order

    bool IsGenerator() const { return files_.empty(); }
    const std::vector<std::string>& Files() const { return files_; }
    // Bits in all the files together (0 for the generator).
    uint64_t TotalFileBits() const { return totalBits_; }

    // The next n bits into `out`; false when the files end (or fail) before.
    bool Next(uint64_t n, BitSequence& out);

    // Passes over `count` sequences of n bits as Next would hand them out: the files are
    // sought to bit count·n without reading the bytes before it; the generator is advanced
    // by the count·ceil(n / 64) outputs those sequences take. False when the files are
    // shorter. Only before the first Next.
    bool SkipSequences(uint64_t count, uint64_t n);

private:
    bool NextFromFiles(uint64_t n, BitSequence& out);
    bool OpenNextFile();

    Xoshiro256 generator_;
    std::vector<std::string> files_;
    uint64_t totalBits_ = 0;
    std::vector<uint64_t> fileBytes_; // each file's size when the input was opened
    size_t nextFile_ = 0;
    std::ifstream current_;
    uint64_t pending_ = 0; // bits of a byte already read but not yet handed out
    int pendingCount_ = 0;
};

} // namespace zentrope
