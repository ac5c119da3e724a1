#include "core/XMLError.h"

#include "core/StringFormatter.h"

namespace Strata
{

XMLError::XMLError(const std::wstring& fileName, int lineNumber, const std::wstring& message, const char* file,
                   int line, const char* function)
    : RuntimeError(FormatError(fileName, lineNumber, message), file, line, function)
{
}

XMLError::~XMLError() = default;

std::wstring XMLError::FormatError(const std::wstring& fileName, int lineNumber, const std::wstring& message)
{
    StringFormatter formatter(L"%file%(%line%): %msg%");
    formatter.Arg(L"file", fileName).Arg(L"line", lineNumber).Arg(L"msg", message);
    return formatter.c_str();
}

} // namespace Strata
