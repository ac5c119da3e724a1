#include "core/DateTime.h"

#include "core/WideString.h"

#include <climits>
#include <cstring>
#include <ctime>
#include <langinfo.h>
#include <locale.h>

namespace Strata
{

namespace
{

enum eDateTimeParts
{
    Parts_Date = 1,
    Parts_Time = 2
};

// The user's time locale, or the C locale when the environment names none that exists.
class TimeLocale
{
public:
    TimeLocale()
    {
        mLocale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
        if (mLocale == static_cast<locale_t>(0))
            mLocale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    }
    ~TimeLocale()
    {
        if (mLocale != static_cast<locale_t>(0))
            freelocale(mLocale);
    }
    TimeLocale(const TimeLocale&) = delete;
    TimeLocale& operator=(const TimeLocale&) = delete;

    locale_t Get() const { return mLocale; }

private:
    locale_t mLocale;
};

// Hours and minutes, on the clock the locale uses: "%X" with its seconds would be a long time.
const char* ShortTimeFormat(locale_t locale)
{
    const char* timeFormat = nl_langinfo_l(T_FMT, locale);
    const char* amPmFormat = nl_langinfo_l(T_FMT_AMPM, locale);
    const bool twelveHour = timeFormat != nullptr && amPmFormat != nullptr && amPmFormat[0] != 0 &&
                            (std::strstr(timeFormat, "%r") != nullptr || std::strstr(timeFormat, "%I") != nullptr ||
                             std::strstr(timeFormat, "%l") != nullptr);
    return twelveHour ? "%I:%M %p" : "%H:%M";
}

// Empty when the locale cannot be made or the text cannot be formatted.
std::wstring Format(int32_t seconds, int parts)
{
    TimeLocale locale;
    if (locale.Get() == static_cast<locale_t>(0))
        return std::wstring();

    const time_t time = seconds;
    tm local{};
    if (localtime_r(&time, &local) == nullptr)
        return std::wstring();

    std::string format;
    if (parts & Parts_Date)
        format += "%x";
    if (parts == (Parts_Date | Parts_Time))
        format += ' ';
    if (parts & Parts_Time)
        format += ShortTimeFormat(locale.Get());

    char text[256];
    const size_t length = strftime_l(text, sizeof(text), format.c_str(), &local, locale.Get());
    if (length == 0)
        return std::wstring();
    return ConvertStringUTF8ToWide(reinterpret_cast<const unsigned char*>(text));
}

} // namespace

DateTime DateTime::Now()
{
    const time_t now = std::time(nullptr);
    // Past 2038 the 32-bit count saturates rather than wrapping back to 1901.
    if (now > INT32_MAX)
        return DateTime(INT32_MAX);
    if (now < 0)
        return DateTime(0);
    return DateTime(static_cast<int32_t>(now));
}

std::wstring DateTime::ToString() const
{
    return Format(mTime, Parts_Date | Parts_Time);
}

std::wstring DateTime::ToDateString() const
{
    return Format(mTime, Parts_Date);
}

std::wstring DateTime::ToTimeString() const
{
    return Format(mTime, Parts_Time);
}

} // namespace Strata
