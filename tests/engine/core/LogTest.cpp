#include "core/Log.h"

#include "support/CapturedLog.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace Strata;
using Strata::Testing::LogLines;

TEST(LogTest, ACaptureKeepsItsThreadsLinesUntilTheyAreWritten)
{
    std::string kept;
    std::string inner;
    const std::vector<std::string> lines = LogLines(
        [&]
        {
            Internal::LogWrite("before\n");
            {
                Internal::ScopedLogCapture capture(kept);
                Internal::LogWrite("kept %d\n", 1);
                {
                    Internal::ScopedLogCapture nested(inner);
                    Log("inner\n");
                }
                // Another thread's lines are its own.
                std::thread([] { Internal::LogWrite("other thread\n"); }).join();
                Log("kept 2\n");
            }
            Internal::LogWrite("after\n");
            Log(kept.c_str());
        });
    EXPECT_EQ(kept, "kept 1\nkept 2\n");
    EXPECT_EQ(inner, "inner\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"before", "other thread", "after", "kept 1", "kept 2"}));
}

// Progress lines come out only while detail is on, on any thread, and a capture taken while it was
// off holds none to write later; warnings are written either way.
TEST(LogTest, ProgressLinesOnlyWithDetail)
{
    ASSERT_FALSE(IsLogDetailOn()) << "quiet is the default";
    for (const bool detail : {false, true})
    {
        SCOPED_TRACE(detail ? "detail on" : "detail off");
        SetLogDetail(detail);
        std::string captured;
        const std::vector<std::string> lines = LogLines(
            [&]
            {
                Internal::LogDetail("progress %d\n", 1);
                Internal::LogWrite("warning\n");
                std::thread([] { Internal::LogDetail("worker progress\n"); }).join();
                {
                    Internal::ScopedLogCapture capture(captured);
                    Internal::LogDetail("captured progress\n");
                }
                Log(captured.c_str());
            });
        SetLogDetail(false);
        const std::vector<std::string> expected =
            detail ? std::vector<std::string>{"progress 1", "warning", "worker progress", "captured progress"}
                   : std::vector<std::string>{"warning"};
        EXPECT_EQ(lines, expected);
    }
}
