#include "game/LetterPatternLevel.h"

#include "core/XMLElement.h"

namespace Yardcrew
{

void LetterPatternLevel::ReadChild(const Strata::XMLElement& element)
{
    if (element.GetName() != L"Pattern")
        return;
    // One pattern past the cap is kept, so an overlong level is refused as a whole.
    if (patterns.size() > kLetterPatternMaxPatterns)
        return;
    std::vector<int32_t> letters;
    for (wchar_t c : element.GetAttribute(L"order"))
    {
        const int32_t letter = (c >= L'A' && c <= L'C') ? c - L'A' : (c >= L'a' && c <= L'c') ? c - L'a' : -1;
        if (letter < 0)
            continue;
        letters.push_back(letter);
        if (letters.size() > kLetterPatternMaxLetters)
            break;
    }
    patterns.push_back(std::move(letters));
}

std::string LetterPatternLevel::Validate() const
{
    if (patterns.empty())
        return "has no \"Pattern\"";
    if (patterns.size() > kLetterPatternMaxPatterns)
        return "has more than " + std::to_string(kLetterPatternMaxPatterns) + " \"Pattern\"";
    for (size_t i = 0; i < patterns.size(); ++i)
    {
        if (patterns[i].empty())
            return "has an empty pattern (number " + std::to_string(i + 1) + ")";
        if (patterns[i].size() > kLetterPatternMaxLetters)
            return "has a pattern (number " + std::to_string(i + 1) + ") of more than " +
                   std::to_string(kLetterPatternMaxLetters) + " letters in its \"order\"";
    }
    return std::string();
}

int32_t LetterPatternLevel::LetterAt(const std::vector<int32_t>& pattern, size_t place)
{
    return pattern.empty() ? -1 : pattern[place % pattern.size()];
}

} // namespace Yardcrew
