#include "core/StringFormatter.h"

#include <charconv>
#include <cwchar>
#include <utility>

namespace Strata
{

namespace
{

constexpr bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// The leading decimal digits of [begin, end) as a number no larger than `cap`; -1 when there are none.
int ParseCappedNumber(const std::wstring& text, size_t begin, size_t end, int cap)
{
    if (begin >= end || !IsDigit(text[begin]))
        return -1;
    int value = 0;
    for (size_t i = begin; i < end && IsDigit(text[i]); ++i)
    {
        value = value * 10 + (text[i] - L'0');
        if (value > cap)
            value = cap; // further digits cannot bring it back under the cap
    }
    return value;
}

void AppendPadded(std::wstring& out, const wchar_t* sign, const wchar_t* digits, size_t digitCount, int width,
                  wchar_t fill)
{
    const size_t signLength = std::wcslen(sign);
    const size_t length = signLength + digitCount;
    const size_t padding = (width > 0 && static_cast<size_t>(width) > length) ? static_cast<size_t>(width) - length : 0;
    if (fill == L'0')
    {
        out.append(sign);
        out.append(padding, L'0');
    }
    else
    {
        out.append(padding, fill);
        out.append(sign);
    }
    out.append(digits, digitCount);
}

void AppendInteger(std::wstring& out, unsigned long long magnitude, bool negative, const StringFormatter::TextRun& run)
{
    unsigned int base = 10;
    bool grouped = false;
    const wchar_t* digitSet = L"0123456789abcdef";
    if (run.flags & StringFormatter::FormatFlag_Binary)
    {
        base = 2;
    }
    else if (run.flags & StringFormatter::FormatFlag_Octal)
    {
        base = 8;
    }
    else if (run.flags & StringFormatter::FormatFlag_Decimal)
    {
        base = 10;
    }
    else if (run.flags & StringFormatter::FormatFlag_Hex)
    {
        base = 16;
    }
    else if (run.flags & StringFormatter::FormatFlag_HexUpper)
    {
        base = 16;
        digitSet = L"0123456789ABCDEF";
    }
    else
    {
        grouped = true;
    }

    // 64 binary digits, or 20 decimal digits with 6 commas, fit easily.
    wchar_t buffer[96];
    wchar_t* end = buffer + sizeof(buffer) / sizeof(buffer[0]);
    wchar_t* p = end;
    int count = 0;
    do
    {
        if (grouped && count > 0 && count % 3 == 0)
            *--p = L',';
        *--p = digitSet[magnitude % base];
        magnitude /= base;
        ++count;
    } while (magnitude != 0);

    AppendPadded(out, negative ? L"-" : L"", p, static_cast<size_t>(end - p), run.width, run.fill);
}

template <typename T>
void AppendSigned(std::wstring& out, T value, const StringFormatter::TextRun& run)
{
    const long long wide = value;
    // The magnitude is taken in unsigned arithmetic so that the most negative value needs no negation.
    const unsigned long long magnitude =
        wide < 0 ? 0ULL - static_cast<unsigned long long>(wide) : static_cast<unsigned long long>(wide);
    AppendInteger(out, magnitude, wide < 0, run);
}

void AppendFloat(std::wstring& out, double value, const StringFormatter::TextRun& run)
{
    const int precision = run.precision < 0 ? 6 : run.precision;
    // The largest double has 309 integral digits; with the sign, the point and the capped precision
    // it stays well below this size.
    char buffer[512];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return;
    const size_t length = static_cast<size_t>(result.ptr - buffer);
    if (run.width > 0 && static_cast<size_t>(run.width) > length)
        out.append(static_cast<size_t>(run.width) - length, L' ');
    for (size_t i = 0; i < length; ++i)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(buffer[i])));
}

} // namespace

StringFormatter::StringFormatter(const std::wstring& format) : mFormat(format)
{
    breakFormatIntoTextRuns();
}

void StringFormatter::breakFormatIntoTextRuns()
{
    mTextRuns.clear();
    const size_t length = mFormat.size();
    size_t runStart = 0;
    for (size_t i = 1; i < length; ++i)
    {
        if (mFormat[i] != L'%' || i == runStart)
            continue;
        if (mFormat[runStart] == L'%')
        {
            AddPlaceholder(runStart, i + 1);
            runStart = i + 1;
        }
        else
        {
            TextRun literal;
            literal.start = runStart;
            literal.end = i;
            mTextRuns.push_back(literal);
            runStart = i;
        }
    }
    if (runStart < length)
    {
        TextRun rest;
        rest.start = runStart;
        rest.end = length;
        mTextRuns.push_back(rest);
    }
}

void StringFormatter::AddPlaceholder(size_t start, size_t end)
{
    TextRun run;
    run.start = start;
    run.end = end;
    const size_t bodyStart = start + 1;
    const size_t bodyEnd = end - 1;
    if (bodyStart == bodyEnd)
    {
        run.end = start + 1; // "%%" stands for its first "%"
        mTextRuns.push_back(run);
        return;
    }

    size_t nameEnd = mFormat.find(L':', bodyStart);
    if (nameEnd == std::wstring::npos || nameEnd > bodyEnd)
        nameEnd = bodyEnd;
    bool allDigits = nameEnd > bodyStart;
    for (size_t i = bodyStart; i < nameEnd && allDigits; ++i)
        allDigits = IsDigit(mFormat[i]);
    if (allDigits)
    {
        // Numbers past any sane argument count saturate; they never find an argument.
        unsigned int number = 0;
        for (size_t i = bodyStart; i < nameEnd; ++i)
            number = number > 100000000u ? number : number * 10 + static_cast<unsigned int>(mFormat[i] - L'0');
        run.argument = number;
    }
    else
    {
        run.nameStart = bodyStart;
        run.nameEnd = nameEnd;
    }

    if (nameEnd < bodyEnd)
    {
        size_t pos = nameEnd + 1;
        if (pos < bodyEnd)
        {
            // The conversion letters and the flag each sets.
            static constexpr std::pair<wchar_t, uint32_t> kConversions[] = {
                {L'b', FormatFlag_Binary}, {L'o', FormatFlag_Octal},    {L'd', FormatFlag_Decimal},
                {L'x', FormatFlag_Hex},    {L'X', FormatFlag_HexUpper}, {L't', FormatFlag_Time}};
            for (const auto& [letter, flag] : kConversions)
            {
                if (mFormat[pos] == letter)
                {
                    run.flags = flag;
                    ++pos;
                    break;
                }
            }
        }
        if (pos < bodyEnd && mFormat[pos] == L'0')
        {
            run.fill = L'0';
            ++pos;
        }
        size_t dot = mFormat.find(L'.', pos);
        if (dot == std::wstring::npos || dot > bodyEnd)
            dot = bodyEnd;
        run.width = ParseCappedNumber(mFormat, pos, dot, kMaxWidth);
        if (dot < bodyEnd)
            run.precision = ParseCappedNumber(mFormat, dot + 1, bodyEnd, kMaxPrecision);
    }
    mTextRuns.push_back(run);
}

StringFormatter& StringFormatter::Arg(const Argument& value)
{
    mArguments.push_back(value);
    return *this;
}

StringFormatter& StringFormatter::Arg(const wchar_t* name, const Argument& value)
{
    mArguments.push_back(value);
    if (name == nullptr)
        return *this;
    const unsigned int number = static_cast<unsigned int>(mArguments.size());
    const size_t nameLength = std::wcslen(name);
    for (TextRun& run : mTextRuns)
        if (run.nameEnd > run.nameStart && run.nameEnd - run.nameStart == nameLength &&
            mFormat.compare(run.nameStart, nameLength, name) == 0)
            run.argument = number;
    return *this;
}

const wchar_t* StringFormatter::c_str()
{
    updateOutput();
    return mOutput.c_str();
}

void StringFormatter::updateOutput()
{
    mOutput.clear();
    for (const TextRun& run : mTextRuns)
        if (run.argument >= 1 && run.argument <= mArguments.size())
            AppendArgument(run, mArguments[run.argument - 1]);
        else
            mOutput.append(mFormat, run.start, run.end - run.start);
}

void StringFormatter::AppendArgument(const TextRun& run, const Argument& value)
{
    std::visit(
        [&](const auto& v)
        {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, char>)
            {
                // Bytes are taken as Latin-1, never as negative code points.
                mOutput.push_back(static_cast<wchar_t>(static_cast<unsigned char>(v)));
            }
            else if constexpr (std::is_same_v<T, wchar_t>)
            {
                mOutput.push_back(v);
            }
            else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>)
            {
                AppendFloat(mOutput, static_cast<double>(v), run);
            }
            else if constexpr (std::is_same_v<T, std::string>)
            {
                for (char c : v)
                    mOutput.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
            }
            else if constexpr (std::is_same_v<T, std::wstring>)
            {
                mOutput.append(v);
            }
            else if constexpr (std::is_same_v<T, DateTime>)
            {
                if (run.flags & FormatFlag_Decimal)
                    mOutput.append(v.ToDateString());
                else if (run.flags & FormatFlag_Time)
                    mOutput.append(v.ToTimeString());
                else
                    mOutput.append(v.ToString());
            }
            else if constexpr (std::is_signed_v<T>)
            {
                AppendSigned(mOutput, v, run);
            }
            else
            {
                AppendInteger(mOutput, static_cast<unsigned long long>(v), false, run);
            }
        },
        value);
}

} // namespace Strata
