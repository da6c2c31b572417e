#include "parameter_set.h"

namespace zentrope {

void ApplyDefaults(ParameterSet& s) {
    s.n = 1048576;
    s.NT = 50;
    s.pval_digits = 7;
    s.auto_n = 0;
    s.ShowPvals = 0;
    s.OverallTestNumber = 0;
    s.IdlePriority = 1;
    s.sortKS = 0;
    s.sortAD = 0;
    s.sortSL = 1;
    s.KSmin = 0.0005;
    s.ADmin = 0;
    s.SLmax = 100;
    s.Enable.fill(1);
    for (int i = 0; i < TestCount; ++i)
        s.ExecutionOrder[i] = static_cast<int8_t>(i);
    s.DFT_max_n = 33554432;
    s.DFT_optimize = 3145728;
    s.DFT_rows = {1, 32, -1};
    s.DFT_mode0 = 1;
    s.DFT_mode1 = 1;
    s.WinAutocorr_distance = {1024, 4096, -2};
    s.WinAutocorr_block_size = {1, 16, -1};
    s.ShortBlocks_block_size = {1, 16, -1};
    s.ShortBlocks_bits_distance = {1024, 4096, -2};
    s.Permutation_block_size = {1, 8, -1};
    s.Permutation_group_size = {4, 8, 4};
    s.Runs_block_size = {4, 32, -1};
    s.Runs_run_length = {6, 10, 2};
    s.Coupon_block_size = {2, 9, 1};
    s.LongBlocks_block_size = {512, 2048, -1};
    s.Maurer_block_size = {2, 12, 6};
    s.Maurer_N = 1000;
    s.NOTM_block_size = {2, 31, -2};
    s.NOTM_templates = 3;
    s.Serial_block_size = {1, 3, 1};
    s.Rank6x8_byte_order = {0, 24, 1};
    s.AMLS_block_length = {2, 32768, -1};
    s.Collision_block_size = {20, 28, 1};
}

} // namespace zentrope
