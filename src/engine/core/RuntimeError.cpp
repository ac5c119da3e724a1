#include "core/RuntimeError.h"

#include "core/WideString.h"

namespace Strata
{

RuntimeError::RuntimeError(const std::wstring& message, const char* file, int line, const char* function)
    : std::runtime_error(TruncateStringWideToASCII(message.c_str()))
{
    RecordLocation(file, line, function);
}

RuntimeError::RuntimeError(const std::string& message, const char* file, int line, const char* function)
    : std::runtime_error(message)
{
    RecordLocation(file, line, function);
}

RuntimeError::~RuntimeError() = default;

void RuntimeError::RecordLocation(const char* file, int line, const char* function)
{
    mFile = file ? file : "";
    mLine = line;
    mFunction = function ? function : "";
}

} // namespace Strata
