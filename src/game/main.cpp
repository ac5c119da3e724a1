// The program's entry: the platform, the game's application, and the report of any failure that
// escapes the engine. A failure ends the process with a non-zero status, so a launcher or a script
// sees that the game did not end normally.

#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/Time.h"
#include "core/WideString.h"
#include "framework/MainLoop.h"
#include "game/GameApplication.h"
#include "game/MiniGamePattern.h"
#include "platform/linux/ApplicationPlatform.h"
#include "platform/linux/SystemAlert.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <exception>
#include <string>
#include <typeinfo>

namespace
{

std::string TypeName(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = (status == 0 && readable != nullptr) ? readable : mangled;
    std::free(readable);
    return name;
}

std::wstring Widen(const std::string& text)
{
    return Strata::ConvertStringUTF8ToWide(reinterpret_cast<const unsigned char*>(text.c_str()));
}

void ReportUnhandled(const Strata::RuntimeError& error)
{
    Strata::Internal::LogWrite("Unhandled Exception: ");
    Strata::Internal::LogWrite("%s\n", TypeName(error).c_str());
    Strata::Internal::LogWrite(" Function: %s\n", error.GetFunction().c_str());
    Strata::Internal::LogWrite(" File: %s\n", error.GetFile().c_str());
    Strata::Internal::LogWrite(" Line: %d\n", error.GetLine());
    Strata::Internal::LogWrite(" Message: %s\n", error.what());
    const std::string text = "Function: " + error.GetFunction() + "\nFile: " + error.GetFile() +
                             "\nLine: " + std::to_string(error.GetLine()) + "\n\n" + error.what();
    Linux::ShowSystemAlert(L"Unhandled Exception", Widen(text), L"Close");
}

void ReportUnhandled(const std::exception& error)
{
    Strata::Internal::LogWrite("Unhandled Exception: ");
    Strata::Internal::LogWrite("%s\n", TypeName(error).c_str());
    Strata::Internal::LogWrite(" Message: %s\n", error.what());
    Linux::ShowSystemAlert(L"Unhandled Exception", Widen(error.what()), L"Close");
}

// Wide text goes to the log as UTF-8 whatever the user's locale; numbers stay in the C locale.
void SetTextLocale()
{
    const char* locale = std::setlocale(LC_CTYPE, "");
    if (locale == nullptr || (std::strstr(locale, "UTF-8") == nullptr && std::strstr(locale, "utf8") == nullptr))
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

} // namespace

int main(int argc, char** argv)
{
    SetTextLocale();
    Strata::SetCommandLine(argc, argv);
    Yardcrew::Application application;
    Strata::MainLoop::SetPlatformFactory(&Linux::CreatePlatform);
    Yardcrew::SetMissingLevelNotifier(&Strata::Platform::ModalNotification);
    try
    {
        Strata::MainLoop::Execute();
    }
    catch (const Strata::RuntimeError& error)
    {
        ReportUnhandled(error);
        return EXIT_FAILURE;
    }
    catch (const std::exception& error)
    {
        ReportUnhandled(error);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
