#include "MemoryLog.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const double WARM_UP = 20;
const double INTERVAL = 5;
const long BASE_KB = 100000;

// Samples every INTERVAL seconds from 0 to lastSeconds; resident size from the function of the time.
template <typename Size>
MemoryLog logOf(double lastSeconds, Size sizeAt)
{
    MemoryLog log(WARM_UP);
    for (double t = 0; t <= lastSeconds; t += INTERVAL)
        log.add(MemorySample{t, sizeAt(t), 2 * sizeAt(t)});
    return log;
}

} // namespace

class MemoryLogTest : public ::testing::Test {
protected:
    std::string verdict;
};

TEST_F(MemoryLogTest, GrowthDuringTheWarmUpIsIgnored)
{
    MemoryLog log = logOf(60, [](double t) { return t < WARM_UP ? static_cast<long>(t) * 10000 : BASE_KB; });
    EXPECT_EQ(log.baselineKb(), BASE_KB);
    EXPECT_TRUE(log.holdsSteady(verdict)) << verdict;
}

TEST_F(MemoryLogTest, SteadyGrowthBeyondTheAllowanceFails)
{
    // 1 MB every sample: the final median lies 10 samples after the baseline's, beyond the allowance.
    MemoryLog log = logOf(80, [](double t) { return BASE_KB + static_cast<long>(t / INTERVAL) * 1024; });
    EXPECT_FALSE(log.holdsSteady(verdict)) << verdict;
}

TEST_F(MemoryLogTest, GrowthWithinTheAllowancePasses)
{
    MemoryLog log = logOf(60, [](double t) { return t < 45 ? BASE_KB : BASE_KB + MemoryLog::ALLOWED_GROWTH_KB; });
    EXPECT_TRUE(log.holdsSteady(verdict)) << verdict;
    MemoryLog over = logOf(60, [](double t) { return t < 45 ? BASE_KB : BASE_KB + MemoryLog::ALLOWED_GROWTH_KB + 1; });
    EXPECT_FALSE(over.holdsSteady(verdict)) << verdict;
}

TEST_F(MemoryLogTest, OneOddSampleAtEitherEndDoesNotDecide)
{
    MemoryLog log(WARM_UP);
    long sizes[] = {BASE_KB, BASE_KB, 900000, BASE_KB, BASE_KB, BASE_KB, BASE_KB, 1, 900000, BASE_KB, BASE_KB};
    double t = 0;
    for (long size : sizes) {
        log.add(MemorySample{t, size, size});
        t += INTERVAL;
    }
    EXPECT_EQ(log.baselineKb(), BASE_KB);
    EXPECT_EQ(log.finalKb(), BASE_KB);
}

TEST_F(MemoryLogTest, TooFewSamplesAfterTheWarmUpCannotPass)
{
    MemoryLog log = logOf(40, [](double) { return BASE_KB; });
    EXPECT_EQ(log.baselineKb(), -1);
    EXPECT_FALSE(log.holdsSteady(verdict));
}

TEST_F(MemoryLogTest, SamplesThisProcessAndNotAMissingOne)
{
    MemorySample sample;
    ASSERT_TRUE(MemoryLog::sample(getpid(), 1.5, sample));
    EXPECT_GT(sample.residentKb, 0);
    EXPECT_GE(sample.virtualKb, sample.residentKb);
    EXPECT_EQ(sample.seconds, 1.5);
    EXPECT_FALSE(MemoryLog::sample(-1, 0, sample));
}
