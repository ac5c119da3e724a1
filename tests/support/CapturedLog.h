#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace Strata::Testing
{

// Every line written to the standard error stream (where the log goes) while `action` runs.
template <class Action>
std::vector<std::string> LogLines(Action&& action)
{
    ::testing::internal::CaptureStderr();
    action();
    std::istringstream text(::testing::internal::GetCapturedStderr());
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

} // namespace Strata::Testing
