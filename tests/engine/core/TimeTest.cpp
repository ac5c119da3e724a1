#include "core/Time.h"

#include "core/Threading.h"

#include <gtest/gtest.h>

using namespace Strata;

TEST(Time, ClocksNeverGoBackwardsAndAgree)
{
    uint64_t previousUS = GetTimeUS();
    uint32_t previousMS = GetTimeMS();
    for (int i = 0; i < 10000; ++i)
    {
        // The millisecond reading lies between the two microsecond readings around it, however long the
        // thread is preempted between them.
        const uint64_t beforeUS = GetTimeUS();
        const uint32_t nowMS = GetTimeMS();
        const uint64_t nowUS = GetTimeUS();
        EXPECT_GE(beforeUS, previousUS);
        EXPECT_GE(nowUS, beforeUS);
        // Unsigned differences: they stay small even across the 32-bit wrap.
        EXPECT_LT(static_cast<uint32_t>(nowMS - previousMS), 1000u);
        const uint32_t beforeMS = static_cast<uint32_t>(beforeUS / 1000u);
        EXPECT_LE(static_cast<uint32_t>(nowMS - beforeMS), static_cast<uint32_t>(nowUS / 1000u - beforeUS / 1000u) + 1u)
            << "one clock";
        previousUS = nowUS;
        previousMS = nowMS;
    }
    const uint64_t start = GetTimeUS();
    Sleep(30);
    const uint64_t elapsed = GetTimeUS() - start;
    EXPECT_GE(elapsed, 30000u) << "microseconds, not another unit";
    EXPECT_LT(elapsed, 10000000u);
}

TEST(Time, PlatformConstants)
{
    EXPECT_GE(GetDoubleClickTime(), 100u);
    EXPECT_LE(GetDoubleClickTime(), 2000u);
    EXPECT_TRUE(GetCommandLine().empty());
}

TEST(Time, CommandLineJoinsTheArgumentsAfterTheProgramName)
{
    char program[] = "menagerie";
    char software[] = "-software";
    char spanish[] = "a\xc3\xb1o"; // UTF-8 "año"
    char* argv[] = {program, software, spanish, nullptr};
    SetCommandLine(3, argv);
    EXPECT_EQ(GetCommandLine(), L"-software a\u00f1o");

    // The list ends at a null entry even when argc claims more.
    char* shortList[] = {program, software, nullptr, spanish};
    SetCommandLine(4, shortList);
    EXPECT_EQ(GetCommandLine(), L"-software");

    SetCommandLine(1, argv);
    EXPECT_EQ(GetCommandLine(), L"") << "the program's name alone is no argument";

    char* noProgram[] = {nullptr, software};
    SetCommandLine(2, noProgram);
    EXPECT_EQ(GetCommandLine(), L"");

    SetCommandLine(3, argv);
    SetCommandLine(-1, argv);
    EXPECT_EQ(GetCommandLine(), L"") << "a negative count records nothing";
    SetCommandLine(2, nullptr);
    EXPECT_EQ(GetCommandLine(), L"");
}
