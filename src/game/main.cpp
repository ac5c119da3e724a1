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
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/SystemAlert.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <exception>
#include <initializer_list>
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

constexpr const char* kUsage =
    "Usage: menagerie [options]\n"
    "\n"
    "Options:\n"
    "  -software    draw with the engine's own software renderer\n"
    "  -opengl      draw with OpenGL even where OpenGL itself draws in software (llvmpipe, softpipe,\n"
    "               swrast), where the software renderer is the default\n"
    "  -verbose     also log the engine's progress: every resource file loaded and unloaded, every object\n"
    "               database destroyed and the loader's timings (without it only warnings and errors)\n"
    "  -h, --help   show this text and end\n";

constexpr const char* kEnvironment =
    "\n"
    "Environment:\n"
    "  STRATA_DATA_DIR   the game's data folder (the one holding Loading.xml). Unset, it is looked for in\n"
    "                    ../share/menagerie/data beside the program, in \"data\" beside the program or up\n"
    "                    to four folders above it, in the source tree the program was built from, then\n"
    "                    in \"data\" in the working folder\n"
    "  XDG_DATA_HOME     where the players' profiles are kept, in Strata/Menagerie (default\n"
    "                    ~/.local/share)\n"
    "  DISPLAY, WAYLAND_DISPLAY\n"
    "                    the display the game opens (X11 or Wayland)\n"
    "  SDL_VIDEODRIVER   SDL's video driver, to choose one of the two when both displays are named\n";

// The options, the keys the game answers on every screen, then the environment.
void PrintUsage()
{
    std::fputs(kUsage, stdout);
    std::fputs("\nKeys, on every screen:\n", stdout);
    for (const Linux::sCommandKey& key : Linux::kCommandKeys)
        std::printf("  %-16s%s\n", key.keys, key.action);
    std::fputs(kEnvironment, stdout);
}

// True when one of the arguments is one of `names`.
bool HasArgument(int argc, char** argv, std::initializer_list<const char*> names)
{
    for (int i = 1; i < argc && argv[i] != nullptr; ++i)
        for (const char* name : names)
            if (std::strcmp(argv[i], name) == 0)
                return true;
    return false;
}

// A game without its data would show a black window forever: say where it was looked for instead, on
// standard error and in a box the user sees. False when the data is not there.
bool CheckDataFolder(const std::wstring& product)
{
    const std::string program = Linux::Platform::FindProgramFolder();
    const std::string found = Linux::Platform::FindDataFolder(program);
    if (!found.empty() && Linux::Platform::HoldsGameData(found))
        return true;
    std::string text;
    if (!found.empty())
        text = "The game's data was not found: STRATA_DATA_DIR names " + found + ", which holds no Loading.xml.\n";
    else
    {
        text = "The game's data was not found. It was looked for in:\n";
        for (const std::string& candidate : Linux::Platform::ListDataFolderCandidates(program))
            text += "  " + candidate + "\n";
    }
    text += "Set STRATA_DATA_DIR to the folder that holds the game's data (its Loading.xml).\n";
    Strata::Log(text.c_str());
    Linux::ShowStartupAlert(product, Widen(text), L"Quit");
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    SetTextLocale();
    if (HasArgument(argc, argv, {"--help", "-h", "-help"}))
    {
        PrintUsage();
        return EXIT_SUCCESS;
    }
    Strata::SetCommandLine(argc, argv);
    Strata::SetLogDetail(HasArgument(argc, argv, {"-verbose", "--verbose"}));
    Yardcrew::Application application;
    const wchar_t* product = application.GetDescriptor().productName;
    if (!CheckDataFolder(product != nullptr ? product : L""))
        return EXIT_FAILURE;
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
