// Large result files in the tester's layout, for benchmarks of loading and sorting.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace zentrope {

struct ResultFileShape {
    int32_t tests = 2000;     // rows: tests times parameter values
    int32_t sequences = 1000; // sections
    uint32_t seed = 1;
    // About one p-value in this many is written as -1 (a test without result).
    int32_t errorEvery = 1000;
};

// "p-value[TAB]test_name" lines, seven decimals, one section per sequence, each ended by an
// empty line; the same shape and seed give the same text.
std::string MakeResultFileText(const ResultFileShape& shape);
void WriteResultFile(const std::filesystem::path& path, const ResultFileShape& shape);

} // namespace zentrope
