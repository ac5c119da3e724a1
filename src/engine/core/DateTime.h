#pragma once

#include <cstdint>
#include <string>

namespace Strata
{

// A moment as seconds since 1 January 1970 (UTC), shown in the user's locale and time zone.
class DateTime
{
public:
    DateTime() = default;
    explicit DateTime(int32_t secondsSinceEpoch) : mTime(secondsSinceEpoch) {}

    static DateTime Now();

    int32_t GetTime() const { return mTime; }

    std::wstring ToString() const;     // short date and short time
    std::wstring ToDateString() const; // short date
    std::wstring ToTimeString() const; // short time

    bool operator==(const DateTime& other) const = default;

private:
    int32_t mTime = 0;
};

} // namespace Strata
