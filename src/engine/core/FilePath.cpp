#include "core/FilePath.h"

namespace Strata::Platform
{

namespace
{

std::wstring ToForwardSlashes(const std::wstring& path)
{
    std::wstring result = path;
    for (wchar_t& c : result)
        if (c == L'\\')
            c = L'/';
    return result;
}

// Start of the last component: just after the last '/', or 0.
size_t LastComponentStart(const std::wstring& path)
{
    const size_t slash = path.rfind(L'/');
    return slash == std::wstring::npos ? 0 : slash + 1;
}

// The last '.' of the last component, or npos. A dot in a folder name ("a.d/file") is no extension.
size_t ExtensionStart(const std::wstring& path)
{
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || dot < LastComponentStart(path))
        return std::wstring::npos;
    return dot;
}

} // namespace

std::wstring GetFilePath(const std::wstring& path)
{
    const std::wstring normal = ToForwardSlashes(path);
    const size_t slash = normal.rfind(L'/');
    if (slash == std::wstring::npos)
        return normal;
    return normal.substr(0, slash);
}

std::wstring GetFileName(const std::wstring& path)
{
    const std::wstring normal = ToForwardSlashes(path);
    const size_t start = LastComponentStart(normal);
    const size_t dot = ExtensionStart(normal);
    if (dot == std::wstring::npos)
        return normal.substr(start);
    return normal.substr(start, dot - start);
}

std::wstring GetFileExtension(const std::wstring& path)
{
    const std::wstring normal = ToForwardSlashes(path);
    const size_t dot = ExtensionStart(normal);
    if (dot == std::wstring::npos)
        return std::wstring();
    return normal.substr(dot);
}

} // namespace Strata::Platform
