// The worker threads of a run: rows in sequence order, the input's end, low priority.
#include "tester/parallel_run.h"
#include "tests/paramfile/test_support.h"

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <mutex>
#include <set>

namespace zentrope {
namespace {

TestPlan SerialAndCusum() {
    TestPlan plan;
    plan.lines = {{9, "Serial m=2", 2, 0}, {8, "Cumulative sum", 0, 0}, {9, "Serial m=3", 3, 0}};
    return plan;
}

TEST(ParallelRun, RowsLeaveInOrderOnLowPriorityThreads) {
    const ParameterSet set = testing::DefaultSet();
    const TestPlan plan = SerialAndCusum();
    BitInput input(DefaultSeed);
    const SequenceWork work{&plan, &set, &input, 20000, 12, 3, true};
    std::vector<int32_t> order;
    std::set<int> niceness;
    std::vector<uint64_t> shown;
    const bool complete = TestAllSequences(
        work,
        [&](int32_t k, const std::vector<double>& p) {
            order.push_back(k);
            EXPECT_EQ(p.size(), 3u);
            niceness.insert(getpriority(PRIO_PROCESS, 0)); // the worker's own
        },
        [&](uint64_t done, uint64_t total) {
            EXPECT_EQ(total, 36u);
            shown.push_back(done);
        });
    EXPECT_TRUE(complete);
    EXPECT_EQ(order, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(niceness, std::set<int>{19});
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.front(), 0u);
    EXPECT_EQ(shown.back(), 36u);
}

TEST(ParallelRun, StopsWhenTheInputEnds) {
    testing::ScratchFolder dir;
    const ParameterSet set = testing::DefaultSet();
    const TestPlan plan = SerialAndCusum();
    BitInput input({dir.Write("in.bin", std::string(10000, 'x'))}); // 80000 bits
    const SequenceWork work{&plan, &set, &input, 20000, 6, 2, false};
    int rows = 0;
    EXPECT_FALSE(TestAllSequences(
        work, [&](int32_t, const std::vector<double>&) { ++rows; }, [](uint64_t, uint64_t) {}));
    EXPECT_LE(rows, 4);
}

} // namespace
} // namespace zentrope
