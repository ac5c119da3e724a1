#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace Strata
{

// The engine's name for things: an interned ASCII string compared as one pointer.
// Spellings that differ only in ASCII letter case share one stored copy, the spelling interned first.
// Labels may be made from any thread; handles stay valid until Label::Shutdown.
class Label
{
public:
    // The null label (no name).
    Label() = default;
    // Characters outside ASCII become '?'. A null string gives the null label.
    Label(const wchar_t* text);
    // A null string gives the null label; "" gives a non-null label.
    Label(const char* text);

    // The stored copy equal to `text` ignoring ASCII case, interning a copy when there is none.
    // Null for null. Throws std::bad_alloc when memory runs out.
    static const char* GetUniqueString(const char* text);

    static Label FromString(const std::wstring& text);
    static Label FromString(const std::string& text);
    // printf-style; text of any length is interned exactly. A formatting failure gives the null label.
    static Label FromStringF(const char* format, ...) __attribute__((format(printf, 1, 2)));

    // Frees the table and every stored copy: handles held past this point dangle.
    // A later label starts a new, empty table. Called last in the engine's tear-down.
    static void Shutdown();

    // The handle: null for the null label.
    const char* GetString() const { return mString; }
    // The text, never null: the null label reads as "".
    const char* c_str() const { return mString ? mString : ""; }

    bool IsNull() const { return mString == nullptr; }
    explicit operator bool() const { return mString != nullptr; }

    bool operator==(const Label& other) const { return mString == other.mString; }
    bool operator!=(const Label& other) const { return mString != other.mString; }
    // Orders by handle: stable for the run, unrelated to alphabetical order.
    bool operator<(const Label& other) const { return std::less<const char*>()(mString, other.mString); }

private:
    const char* mString = nullptr;
};

} // namespace Strata

template <>
struct std::hash<Strata::Label>
{
    size_t operator()(const Strata::Label& label) const noexcept { return std::hash<const char*>()(label.GetString()); }
};
