#include "model/parameter_set.h"

#include <gtest/gtest.h>

using namespace zentrope;

TEST(ParameterSet, StartsWithEveryTestEnabledAndNoFiles) {
    ParameterSet s;
    EXPECT_EQ(s.TestName_pv, 0);
    EXPECT_FALSE(s.InFile.has_value());
    EXPECT_FALSE(s.OutFile.has_value());
    for (int i = 0; i < TestCount; ++i)
        EXPECT_EQ(s.Enable[i], 1);
}

TEST(ParameterSet, ApplyDefaults) {
    ParameterSet s;
    s.TestName_pv = 1;
    s.InFile = "in";
    s.Enable[3] = 0;
    s.ExecutionOrder.fill(-1);
    ApplyDefaults(s);
    EXPECT_EQ(s.TestName_pv, 1) << "left alone";
    EXPECT_EQ(s.InFile, "in") << "left alone";
    EXPECT_EQ(s.n, 1048576u);
    EXPECT_EQ(s.NT, 50);
    EXPECT_EQ(s.pval_digits, 7);
    EXPECT_EQ(s.IdlePriority, 1);
    EXPECT_EQ(s.sortSL, 1);
    EXPECT_EQ(s.sortKS + s.sortAD + s.auto_n + s.ShowPvals + s.OverallTestNumber, 0);
    EXPECT_DOUBLE_EQ(s.KSmin, 0.0005);
    EXPECT_EQ(s.ADmin, 0);
    EXPECT_EQ(s.SLmax, 100);
    for (int i = 0; i < TestCount; ++i) {
        EXPECT_EQ(s.Enable[i], 1);
        EXPECT_EQ(s.ExecutionOrder[i], i);
    }
    EXPECT_EQ(s.DFT_max_n, 33554432u);
    EXPECT_EQ(s.DFT_optimize, 3145728u);
    EXPECT_EQ(s.DFT_rows, (RangeParam{1, 32, -1}));
    EXPECT_EQ(s.DFT_mode0 + s.DFT_mode1, 2);
    EXPECT_EQ(s.WinAutocorr_distance, (RangeParam{1024, 4096, -2}));
    EXPECT_EQ(s.WinAutocorr_block_size, (RangeParam{1, 16, -1}));
    EXPECT_EQ(s.ShortBlocks_block_size, (RangeParam{1, 16, -1}));
    EXPECT_EQ(s.ShortBlocks_bits_distance, (RangeParam{1024, 4096, -2}));
    EXPECT_EQ(s.Permutation_block_size, (RangeParam{1, 8, -1}));
    EXPECT_EQ(s.Permutation_group_size, (RangeParam{4, 8, 4}));
    EXPECT_EQ(s.Runs_block_size, (RangeParam{4, 32, -1}));
    EXPECT_EQ(s.Runs_run_length, (RangeParam{6, 10, 2}));
    EXPECT_EQ(s.Coupon_block_size, (RangeParam{2, 9, 1}));
    EXPECT_EQ(s.LongBlocks_block_size, (RangeParam{512, 2048, -1}));
    EXPECT_EQ(s.Maurer_block_size, (RangeParam{2, 12, 6}));
    EXPECT_EQ(s.Maurer_N, 1000);
    EXPECT_EQ(s.NOTM_block_size, (RangeParam{2, 31, -2}));
    EXPECT_EQ(s.NOTM_templates, 3);
    EXPECT_EQ(s.Serial_block_size, (RangeParam{1, 3, 1}));
    EXPECT_EQ(s.Rank6x8_byte_order, (RangeParam{0, 24, 1}));
    EXPECT_EQ(s.AMLS_block_length, (RangeParam{2, 32768, -1}));
    EXPECT_EQ(s.Collision_block_size, (RangeParam{20, 28, 1}));
}
