#include "game/GameLevelReaders.h"

#include "core/Log.h"
#include "core/WideString.h"
#include "game/LevelManager.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <memory>
#include <system_error>

namespace Yardcrew
{

namespace
{

// A log line is cut at 1,024 bytes and loses its end; a value written longer is shown by its start.
constexpr size_t kShownValueLength = 40;
constexpr size_t kLongestLine = 1000;

bool IsAsciiSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The value narrowed to ASCII without the white space around it, which the engine's getters skip too;
// a wider character becomes one that no number holds.
std::string Trimmed(const std::wstring& value)
{
    std::string text;
    for (wchar_t c : value)
        text += c >= 0 && c < 0x80 ? static_cast<char>(c) : '\x7f';
    const auto first = std::find_if_not(text.begin(), text.end(), IsAsciiSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsAsciiSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

// Where the number begins: past one "+", which the engine's getters take and from_chars does not.
const char* NumberStart(const std::string& text)
{
    const bool plus = text.size() > 1 && text[0] == '+' && text[1] != '+' && text[1] != '-';
    return text.data() + (plus ? 1 : 0);
}

// Why `text` is not a whole number that an int holds, or null when it is one. A real number past the
// int range sets `value` to the nearest int.
const char* WholeNumberFault(const std::string& text, int& value)
{
    const char* begin = NumberStart(text);
    const char* end = text.data() + text.size();
    int whole = 0;
    if (const auto [stop, error] = std::from_chars(begin, end, whole); stop == end && error == std::errc())
        return nullptr;
    double real = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, real);
    if (error == std::errc::invalid_argument || stop != end || std::isnan(real))
        return "not a number";
    if (std::isinf(real))
        return "not a finite number";
    // Out of a double's range too: past it when the exponent is not negative, else all but 0.
    const size_t exponent = text.find_first_of("eE");
    const bool tiny = exponent != std::string::npos && exponent + 1 < text.size() && text[exponent + 1] == '-';
    if ((error == std::errc::result_out_of_range && !tiny) || real > INT_MAX || real < INT_MIN)
    {
        value = text[0] == '-' ? INT_MIN : INT_MAX;
        return "out of range for a whole number";
    }
    return "not written as a whole number";
}

// Why `text` is not a finite float, or null when it is one.
const char* RealNumberFault(const std::string& text)
{
    const char* end = text.data() + text.size();
    float real = 0.0f;
    const auto [stop, error] = std::from_chars(NumberStart(text), end, real);
    if (error == std::errc::invalid_argument || stop != end || std::isnan(real))
        return "not a number";
    if (error == std::errc::result_out_of_range)
        return "out of range";
    if (std::isinf(real))
        return "not a finite number";
    return nullptr;
}

std::string UTF8(const std::wstring& text)
{
    return reinterpret_cast<const char*>(Strata::ConvertStringWideToUTF8(text.c_str()).get());
}

} // namespace

std::string ShownNumber(float value)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, error == std::errc() ? end : text);
}

GameModeDifficulty ParseGameModeDifficulty(const std::wstring& text)
{
    // Exactly as written, case included: "easy" is a typing slip the level's log line shows.
    for (int i = 0; i < GameModeDifficulty_Count; ++i)
        if (text == Strata::ConvertStringASCIIToWide(kGameModeDifficultyNames[i]))
            return static_cast<GameModeDifficulty>(i);
    return GameModeDifficulty_None;
}

bool FileLevelIfValid(GameModeType type, const std::wstring& manifest, Strata::Label name,
                      const Strata::IAttributeContainer& attributes, const std::vector<std::string>& notes,
                      const std::string& problem)
{
    const std::wstring difficultyText = attributes.GetAttribute(L"difficulty");
    const GameModeDifficulty difficulty = ParseGameModeDifficulty(difficultyText);
    // The notes come first: a value read as 0 is often why the level is refused.
    std::string said;
    for (const std::string& note : notes)
        said += note + "; ";
    if (difficulty == GameModeDifficulty_None)
        said += "has no known difficulty (\"" + UTF8(difficultyText) + "\"); ";
    else if (!problem.empty())
        said += problem + "; ";
    const bool filed = difficulty != GameModeDifficulty_None && problem.empty();
    if (!said.empty())
    {
        if (said.size() > kLongestLine)
            said = said.substr(0, kLongestLine) + "...; ";
        Strata::Internal::LogWrite("Level \"%s\" in %s %sit is %s\n", name.c_str(), UTF8(manifest).c_str(),
                                   said.c_str(), filed ? "filed" : "not filed");
    }
    if (filed)
        GetLevelManager().addLevelForGameModeType(type, name, difficulty);
    return filed;
}

CheckedLevelElement::CheckedLevelElement(const Strata::XMLElement& element, std::vector<std::string>& notes)
    : XMLElement(element), mNotes(notes)
{
}

CheckedLevelElement::CheckedLevelElement(const Strata::IAttributeContainer& attributes, std::vector<std::string>& notes)
    : XMLElement(ElementType_Start, std::wstring(), attributes.GetAttributes()), mNotes(notes)
{
}

int CheckedLevelElement::GetAttribute(const std::wstring& name, const int& defaultValue) const
{
    int value = XMLElement::GetAttribute(name, defaultValue);
    if (!HasAttribute(name))
        return value;
    if (const char* why = WholeNumberFault(Trimmed(XMLElement::GetAttribute(name)), value))
        Note(name, why, std::to_string(value));
    return value;
}

float CheckedLevelElement::GetAttribute(const std::wstring& name, const float& defaultValue) const
{
    const float value = XMLElement::GetAttribute(name, defaultValue);
    if (!HasAttribute(name))
        return value;
    if (const char* why = RealNumberFault(Trimmed(XMLElement::GetAttribute(name))))
        Note(name, why, ShownNumber(value));
    return value;
}

void CheckedLevelElement::Note(const std::wstring& name, const char* why, const std::string& read) const
{
    std::wstring written = XMLElement::GetAttribute(name);
    if (written.size() > kShownValueLength)
        written = written.substr(0, kShownValueLength) + L"...";
    // The line stays one line whatever the value holds.
    for (wchar_t& c : written)
        if (c < L' ')
            c = L' ';
    mNotes.push_back("has \"" + UTF8(name) + "\" \"" + UTF8(written) + "\", " + why + " (read as " + read + ")");
}

} // namespace Yardcrew
