#pragma once

#include "core/DateTime.h"

#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace Strata
{

// Fills a wide template with arguments given afterwards, by position ("%1%") or by name ("%file%").
// A placeholder may carry a format after ":": a flag letter, "0" for zero fill, a width and
// ".precision", as in "%1:X04%" or "%2:.2%". Placeholders without a matching argument, and a "%"
// that is never closed, stay in the output as written; "%%" gives one "%".
class StringFormatter
{
public:
    using Argument = std::variant<char, wchar_t, int, unsigned int, short, unsigned short, long, unsigned long,
                                  long long, unsigned long long, float, double, std::string, std::wstring, DateTime>;

    enum eFormatFlags : unsigned int
    {
        FormatFlag_Binary = 1,
        FormatFlag_Octal = 2,
        FormatFlag_Decimal = 4, // decimal without grouping; the date only for a date
        FormatFlag_Hex = 8,
        FormatFlag_HexUpper = 16,
        FormatFlag_Time = 32 // the time only for a date
    };

    // Widths and precisions beyond these are cut to them, so one argument never formats to more than a
    // few hundred characters.
    static constexpr int kMaxWidth = 256;
    static constexpr int kMaxPrecision = 64;

    struct TextRun
    {
        unsigned int argument = 0; // 1-based; 0 for literal text or a name not yet given
        size_t start = 0;          // the run's text in the template: [start, end)
        size_t end = 0;
        size_t nameStart = 0; // a named placeholder's name: [nameStart, nameEnd); both 0 otherwise
        size_t nameEnd = 0;
        unsigned int flags = 0;
        int width = -1;
        wchar_t fill = L' ';
        int precision = -1;
    };

    explicit StringFormatter(const std::wstring& format);

    // Appends a positional argument; the first one is number 1.
    StringFormatter& Arg(const Argument& value);
    // Text given as a plain pointer or literal; a null pointer is taken as empty text.
    template <typename Char>
    requires std::is_same_v<Char, char> || std::is_same_v<Char, wchar_t> StringFormatter& Arg(const Char* value)
    {
        return Arg(ToArgument(value));
    }

    // Appends an argument and gives it to every placeholder named exactly `name`. A null name names
    // nothing: the argument is only appended.
    StringFormatter& Arg(const wchar_t* name, const Argument& value);
    template <typename Char>
    requires std::is_same_v<Char, char> || std::is_same_v<Char, wchar_t> StringFormatter& Arg(const wchar_t* name,
                                                                                              const Char* value)
    {
        return Arg(name, ToArgument(value));
    }

    // Rebuilds the output; the text stays valid until the formatter changes or is destroyed.
    const wchar_t* c_str();
    void updateOutput();

    const std::vector<TextRun>& GetTextRuns() const { return mTextRuns; }

private:
    template <typename Char>
    static Argument ToArgument(const Char* value)
    {
        return Argument(value != nullptr ? std::basic_string<Char>(value) : std::basic_string<Char>());
    }

    void breakFormatIntoTextRuns();
    void AddPlaceholder(size_t start, size_t end);
    void AppendArgument(const TextRun& run, const Argument& value);

    std::wstring mFormat;
    std::wstring mOutput;
    std::vector<TextRun> mTextRuns;
    std::vector<Argument> mArguments;
};

} // namespace Strata
