// One run's settings: what the parameter file holds and the window shows.
#pragma once

#include "model/test_catalogue.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zentrope {

// min, max and step as they stand on a section line; the tester gives them their meaning.
struct RangeParam {
    int32_t min = 0;
    int32_t max = 0;
    int32_t step = 0;
    bool operator==(const RangeParam&) const = default;
};

template <typename T> constexpr std::array<T, TestCount> FilledWith(T value) {
    std::array<T, TestCount> a{};
    a.fill(value);
    return a;
}

struct ParameterSet {
    // [General]
    uint32_t n = 0; // sequence length in bits
    int32_t NT = 0;
    int32_t TestName_pv = 0;
    int32_t pval_digits = 0;
    int32_t auto_n = 0;
    int32_t ShowPvals = 0;
    int32_t OverallTestNumber = 0;
    int32_t IdlePriority = 0;
    int32_t sortKS = 0;
    int32_t sortAD = 0;
    int32_t sortSL = 0;
    double KSmin = 0;
    double ADmin = 0;
    double SLmax = 0;
    std::optional<std::string> InFile; // absent differs from empty
    std::optional<std::string> OutFile;

    // [Enable]: flags indexed by TestId - 1; slots hold TestId - 1 or -1 when empty.
    std::array<int32_t, TestCount> Enable = FilledWith<int32_t>(1);
    std::array<int8_t, TestCount> ExecutionOrder = FilledWith<int8_t>(-1);

    // [DFT]
    uint32_t DFT_max_n = 0;
    uint32_t DFT_optimize = 0;
    RangeParam DFT_rows;
    int32_t DFT_mode0 = 0;
    int32_t DFT_mode1 = 0;
    // [Windowed autocorrelation]
    RangeParam WinAutocorr_distance;
    RangeParam WinAutocorr_block_size;
    // [Short blocks]
    RangeParam ShortBlocks_block_size;
    RangeParam ShortBlocks_bits_distance;
    // [Permutation]
    RangeParam Permutation_block_size;
    RangeParam Permutation_group_size;
    // [Runs]
    RangeParam Runs_block_size;
    RangeParam Runs_run_length;
    // [Coupon collector]
    RangeParam Coupon_block_size;
    // [Long blocks]
    RangeParam LongBlocks_block_size;
    // [Maurer]
    RangeParam Maurer_block_size;
    int32_t Maurer_N = 0;
    // [Non overlapping template matchings]
    RangeParam NOTM_block_size;
    int32_t NOTM_templates = 0;
    // [Serial]
    RangeParam Serial_block_size;
    // [Rank 6x8]
    RangeParam Rank6x8_byte_order;
    // [AMLS]
    RangeParam AMLS_block_length;
    // [Collision]
    RangeParam Collision_block_size;
};

// Every field to its built-in default except TestName_pv, InFile and OutFile.
void ApplyDefaults(ParameterSet& set);

} // namespace zentrope
