#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets (or, with a null value, removes) an environment variable and puts the old value back when it
// goes out of scope.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const char* value) : mName(name)
    {
        if (const char* old = std::getenv(name))
            mOld = old;
        Set(value);
    }
    ~ScopedEnvironment()
    {
        if (mOld)
            setenv(mName.c_str(), mOld->c_str(), 1);
        else
            unsetenv(mName.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const char* value)
    {
        if (value != nullptr)
            setenv(mName.c_str(), value, 1);
        else
            unsetenv(mName.c_str());
    }

private:
    std::string mName;
    std::optional<std::string> mOld;
};
