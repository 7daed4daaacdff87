// Rounding and the conversion rules between user values and counts, with the
// worked values the camera's documentation gives.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Conversions.h"
#include "camera/Globals.h"
#include "platform/Rounding.h"

namespace {

// The platform's rounding takes ties away from zero and never overflows;
// Comm_round takes exact halves down, and so every negative value with a
// fraction.
TEST(RoundingTest, PlatformRoundingAndCommRound)
{
    EXPECT_EQ(RoundRealToNearestInteger(2.5), 3);
    EXPECT_EQ(RoundRealToNearestInteger(-2.5), -3);
    EXPECT_EQ(RoundRealToNearestInteger(1e300), LONG_MAX);
    EXPECT_EQ(RoundRealToNearestInteger(std::nan("")), 0);
    EXPECT_EQ(TruncateToInt(-49.9), -49);
    EXPECT_EQ(TruncateToInt(-1e20), INT_MIN);
    EXPECT_EQ(Comm_UserToCount(CommRule::Count, 1e30f), INT_MAX);
    const double x[] = {2.5, 2.51, 0.7, 0.3, -3.2, -3.7, 4.0};
    const int expected[] = {2, 3, 1, 0, -4, -4, 4};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(Comm_round(x[i]), expected[i]) << x[i];
}

// The constants act with their single-precision values.
TEST(ConversionsTest, LinearMapsOnFloatConstants)
{
    EXPECT_EQ(dB2Count(0, 28.409f, 2.0f), 57);
    EXPECT_NEAR(Count2dB(0.0352f, 57), 2.0064, 1e-6);
    EXPECT_EQ(dB2Count(0, 28.409f, -1.0f), -28);
    EXPECT_EQ(User2Count(0, 0.0f, 14.111111f, 9.0f), 127);
    EXPECT_EQ(User2Count(0, 0.0f, 14.111111f, 4.5f), 63);  // 63.4999981, not 63.5
    EXPECT_EQ(User2Count(1, 0.001f, 1024.012f, 0.001f), 1);
    EXPECT_NEAR(Count2User(0.001f, 1, 0.00097655103f, 1), 0.001, 1e-9);
    EXPECT_EQ(User2Count(112, 228.0f, 0.06528662f, 228.0f), 112);
    EXPECT_EQ(User2Count(112, 228.0f, 0.06528662f, 100.0f), 104);  // below the base, no limit
}

class RuleTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        g_cam_model_idx = 0;
        g_hardware_rev = 0;
    }
    static int count(CommRule rule, float v) { return Comm_UserToCount(rule, v); }
    static double value(CommRule rule, int c) { return Comm_CountToUser(rule, c); }
};

TEST_F(RuleTest, PedestalByClassAndRevision)
{
    for (int c = 0; c < 8; ++c) {
        g_cam_model_idx = c;
        EXPECT_EQ(count(CommRule::Pedestal, 50.0f), c < 3 ? 130 : 50) << c;
        EXPECT_FLOAT_EQ(static_cast<float>(value(CommRule::Pedestal, c < 3 ? 130 : 50)), 50.0f) << c;
        g_hardware_rev = 1;
        EXPECT_EQ(count(CommRule::Pedestal, 50.0f), 965) << c;
        EXPECT_NEAR(value(CommRule::Pedestal, 965), 50.0, 1e-4) << c;
        g_hardware_rev = 0;
    }
}

TEST_F(RuleTest, WhiteClipByClass)
{
    for (int c = 0; c < 8; ++c) {
        g_cam_model_idx = c;
        const bool millivolts = c == 4 || c == 6 || c == 7;
        EXPECT_EQ(count(CommRule::WhiteClip, 700.0f), millivolts ? 700 : 143) << c;
        EXPECT_NEAR(value(CommRule::WhiteClip, 143), millivolts ? 143 : 702.83, 0.005) << c;
    }
}

TEST_F(RuleTest, MatrixReadsAtMost399AndHasNoLowerLimit)
{
    EXPECT_EQ(count(CommRule::Matrix, -0.5f), -512);
    EXPECT_DOUBLE_EQ(value(CommRule::Matrix, 4095), 3.99);  // not 4.0008
    EXPECT_NEAR(value(CommRule::Matrix, -512), -0.500224, 1e-6);
}

TEST_F(RuleTest, SplitAngleCountsNeverGoBelowZero)
{
    EXPECT_EQ(count(CommRule::Angle, 0.0f), 46);
    EXPECT_EQ(count(CommRule::Angle, -10.0f), 1);
    EXPECT_EQ(count(CommRule::Angle, -11.0f), 0);   // -3 computed
    EXPECT_EQ(count(CommRule::Angle, 45.0f), 301);  // tan(45 deg) falls just below 1
    EXPECT_EQ(value(CommRule::Angle, 0), -11);
    EXPECT_EQ(value(CommRule::Angle, 46), 0);
    EXPECT_EQ(value(CommRule::Angle, 301), 45);
}

// A count beyond int is held at int's limit, never wrapped into a count of
// the other sign (3e38 dB went out as -1, 99999999999 dB as 1926598835).  The
// checked conversion refuses what has no count the camera could hold.
TEST_F(RuleTest, CountsBeyondIntSaturateAndTheCheckedConversionRefusesThem)
{
    EXPECT_EQ(dB2Count(0, 28.409f, 3e38f), INT_MAX);
    EXPECT_EQ(dB2Count(0, 28.409f, -3e38f), INT_MIN);
    EXPECT_EQ(User2Count(0, 0.0f, 14.111111f, 1e12f), INT_MAX);
    EXPECT_EQ(count(CommRule::Db, 3e38f), INT_MAX);
    EXPECT_EQ(count(CommRule::Db, 99999999999.0f), INT_MAX);
    EXPECT_EQ(count(CommRule::Matrix, -3e38f), INT_MIN);

    int c = 7;
    EXPECT_FALSE(Comm_UserToCountChecked(CommRule::Db, 3e38f, &c));
    EXPECT_FALSE(Comm_UserToCountChecked(CommRule::Db, 76000000.0f, &c));  // 2,159,084,030 counts
    EXPECT_FALSE(Comm_UserToCountChecked(CommRule::Count, 2147483648.0f, &c));
    EXPECT_FALSE(Comm_UserToCountChecked(CommRule::Hue, NAN, &c));
    EXPECT_FALSE(Comm_UserToCountChecked(CommRule::PercentOf63, INFINITY, &c));
    EXPECT_FALSE(Comm_UserToCountChecked(CommRule::Angle, 90.0f, &c));
    EXPECT_EQ(c, 7);
    EXPECT_TRUE(Comm_UserToCountChecked(CommRule::Db, 75000000.0f, &c));  // 2,130,675,029.75 counts
    EXPECT_EQ(c, 2130675030);
    EXPECT_TRUE(Comm_UserToCountChecked(CommRule::Count, -2147483648.0f, &c));
    EXPECT_EQ(c, INT_MIN);
    EXPECT_TRUE(Comm_UserToCountChecked(CommRule::PercentOf63, 50.0f, &c));
    EXPECT_EQ(c, 31);  // 31.5 cut toward zero
}

}  // namespace
