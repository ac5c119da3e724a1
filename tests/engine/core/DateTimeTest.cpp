#include "core/DateTime.h"

#include <gtest/gtest.h>

#include <climits>
#include <ctime>

using namespace Strata;

TEST(DateTime, NowIsTheCalendarTime)
{
    const auto before = static_cast<long long>(std::time(nullptr));
    const DateTime now = DateTime::Now();
    const auto after = static_cast<long long>(std::time(nullptr));
    EXPECT_GE(now.GetTime(), before);
    EXPECT_LE(now.GetTime(), after);
}

TEST(DateTime, TextsAreFilledAndDistinct)
{
    // 5 June 2009, 14:37:00 UTC.
    const DateTime moment(1244212620);
    const std::wstring date = moment.ToDateString();
    const std::wstring time = moment.ToTimeString();
    const std::wstring both = moment.ToString();
    EXPECT_FALSE(date.empty());
    EXPECT_FALSE(time.empty());
    EXPECT_NE(date, time);
    EXPECT_NE(both.find(date), std::wstring::npos);
    EXPECT_NE(both.find(time), std::wstring::npos);
    EXPECT_GT(both.size(), date.size() + time.size() - 1);
}

TEST(DateTime, ShortTimeHasNoSeconds)
{
    // Two moments 37 seconds apart within one minute read the same.
    EXPECT_EQ(DateTime(1244212620).ToTimeString(), DateTime(1244212657).ToTimeString());
    EXPECT_NE(DateTime(1244212620).ToTimeString(), DateTime(1244212680).ToTimeString());
}

TEST(DateTime, ExtremeValuesFormat)
{
    for (int32_t seconds : {INT32_MIN, -1, 0, INT32_MAX})
    {
        const DateTime moment(seconds);
        EXPECT_FALSE(moment.ToString().empty()) << seconds;
    }
}
