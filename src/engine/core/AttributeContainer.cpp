#include "core/AttributeContainer.h"

#include "core/WideString.h"

namespace Strata
{

namespace
{

// The white space a stream skips before a word, fixed so that the user's locale plays no part.
bool IsAsciiSpace(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

bool StartsWith(const std::wstring& text, size_t offset, const wchar_t* word, size_t wordLength)
{
    return text.size() - offset >= wordLength && text.compare(offset, wordLength, word) == 0;
}

} // namespace

bool AttributeContainer::HasAttribute(const std::wstring& name) const
{
    return mAttributes.find(name) != mAttributes.end();
}

std::wstring AttributeContainer::GetAttribute(const std::wstring& name) const
{
    const auto it = mAttributes.find(name);
    return it != mAttributes.end() ? it->second : std::wstring();
}

const wchar_t* AttributeContainer::GetAttribute(const std::wstring& name, const wchar_t* defaultValue) const
{
    const auto it = mAttributes.find(name);
    return it != mAttributes.end() ? it->second.c_str() : defaultValue;
}

int AttributeContainer::GetAttribute(const std::wstring& name, const int& defaultValue) const
{
    const auto it = mAttributes.find(name);
    return it != mAttributes.end() ? wtoi(it->second.c_str()) : defaultValue;
}

float AttributeContainer::GetAttribute(const std::wstring& name, const float& defaultValue) const
{
    const auto it = mAttributes.find(name);
    return it != mAttributes.end() ? wtof(it->second.c_str()) : defaultValue;
}

bool AttributeContainer::GetAttribute(const std::wstring& name, const bool& defaultValue) const
{
    const auto it = mAttributes.find(name);
    if (it == mAttributes.end())
        return defaultValue;
    const std::wstring& text = it->second;
    size_t start = 0;
    while (start < text.size() && IsAsciiSpace(text[start]))
        ++start;
    // As a stream reading a word-form boolean: the word must come first; what follows it is left unread.
    if (StartsWith(text, start, L"true", 4))
        return true;
    if (StartsWith(text, start, L"false", 5))
        return false;
    return defaultValue;
}

} // namespace Strata
