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
