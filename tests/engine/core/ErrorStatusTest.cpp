#include "core/ErrorStatus.h"
#include "core/Log.h"
#include "core/RuntimeError.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace Strata;

TEST(RuntimeErrorTest, RecordsLocationAndNarrowsWideMessages)
{
    RuntimeError wide(std::wstring(L"ni\u00f1o missing"), "Framework/ResourceManager", 42, "Load");
    EXPECT_STREQ(wide.what(), "ni?o missing");
    EXPECT_EQ(wide.GetFile(), "Framework/ResourceManager");
    EXPECT_EQ(wide.GetLine(), 42);
    EXPECT_EQ(wide.GetFunction(), "Load");

    RuntimeError nulls(std::string("x"), nullptr, 7, nullptr);
    EXPECT_EQ(nulls.GetFile(), "");
    EXPECT_EQ(nulls.GetFunction(), "");
    EXPECT_EQ(nulls.GetLine(), 7);
}

TEST(RuntimeErrorTest, ThrowMacroCarriesThisFile)
{
    try
    {
        STRATA_THROW(RuntimeError, std::string("boom"));
        FAIL();
    }
    catch (const RuntimeError& e)
    {
        EXPECT_STREQ(e.what(), "boom");
        EXPECT_NE(e.GetFile().find("ErrorStatusTest.cpp"), std::string::npos);
        // The build strips the source tree's own path, so no build-machine folder leaks into messages.
        EXPECT_NE(e.GetFile().front(), '/');
        EXPECT_GT(e.GetLine(), 0);
    }
}

TEST(ErrorStatusTest, NegativeCodesAreErrors)
{
    IErrorStatus status;
    EXPECT_EQ(status.GetLastError(), 0);
    EXPECT_FALSE(status.HasErrorOccurred());
    status.SetLastError(-3);
    EXPECT_TRUE(status.HasErrorOccurred());
    EXPECT_EQ(status.GetLastError(), -3);
    status.ClearError();
    EXPECT_FALSE(status.HasErrorOccurred());
    status.SetLastError(5);
    EXPECT_FALSE(status.HasErrorOccurred());
}

TEST(ErrorStatusTest, WritesFromAnotherThreadAreSeenWhole)
{
    IErrorStatus status;
    std::thread writer(
        [&]
        {
            for (int i = 1; i <= 1000; ++i)
                status.SetLastError(-i);
        });
    for (int i = 0; i < 1000; ++i)
    {
        const int code = status.GetLastError();
        EXPECT_LE(code, 0);
        EXPECT_GE(code, -1000);
    }
    writer.join();
    EXPECT_EQ(status.GetLastError(), -1000);
}

TEST(LogTest, FormatsAndCutsLongLines)
{
    testing::internal::CaptureStderr();
    Internal::LogWrite("%d%%", 50);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "50%");

    testing::internal::CaptureStderr();
    Log("100% sure");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "100% sure");

    testing::internal::CaptureStderr();
    Internal::LogWrite("%s", "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    const std::string huge(5000, 'x');
    testing::internal::CaptureStderr();
    Internal::LogWrite("%s!", huge.c_str());
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out.size(), 1023u);
    EXPECT_EQ(out, std::string(1023, 'x'));
}
