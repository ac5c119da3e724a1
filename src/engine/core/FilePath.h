#pragma once

#include <string>

namespace Strata::Platform
{

// Pure text helpers over host-style paths. Backslashes count as '/' in all three.

// The text before the last '/'; the whole text when it has no '/'.
std::wstring GetFilePath(const std::wstring& path);

// The last path component up to its last '.' (exclusive); the whole component when it has no '.'.
std::wstring GetFileName(const std::wstring& path);

// The last path component's text from its last '.' on, dot included; empty when it has no '.'.
std::wstring GetFileExtension(const std::wstring& path);

} // namespace Strata::Platform
