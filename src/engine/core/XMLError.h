#pragma once

#include "core/RuntimeError.h"

#include <string>

namespace Strata
{

// A document that cannot be parsed: "file(line): message".
class XMLError : public RuntimeError
{
public:
    XMLError(const std::wstring& fileName, int lineNumber, const std::wstring& message, const char* file, int line,
             const char* function);
    ~XMLError() override;

    static std::wstring FormatError(const std::wstring& fileName, int lineNumber, const std::wstring& message);
};

} // namespace Strata
