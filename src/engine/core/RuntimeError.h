#pragma once

#include <stdexcept>
#include <string>

namespace Strata
{

// The engine's exception: a message and the place it was thrown from.
class RuntimeError : public std::runtime_error
{
public:
    // Non-ASCII characters of a wide message become '?'.
    RuntimeError(const std::wstring& message, const char* file, int line, const char* function);
    RuntimeError(const std::string& message, const char* file, int line, const char* function);
    ~RuntimeError() override;

    // A null file or function is stored as an empty string; the line is always kept.
    void RecordLocation(const char* file, int line, const char* function);

    const std::string& GetFile() const { return mFile; }
    int GetLine() const { return mLine; }
    const std::string& GetFunction() const { return mFunction; }

private:
    std::string mFile;
    int mLine = 0;
    std::string mFunction;
};

} // namespace Strata

// Throws an exception of the RuntimeError family with the current source location.
#define STRATA_THROW(ExceptionType, ...) throw ExceptionType(__VA_ARGS__, __FILE__, __LINE__, __func__)
