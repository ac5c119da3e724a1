// The program's entry: the application's description, the platform, and the report of any failure
// that escapes the engine.

#include "audio/Audio.h"
#include "core/Color.h"
#include "core/Log.h"
#include "core/Rect.h"
#include "core/RuntimeError.h"
#include "core/Time.h"
#include "core/WideString.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/Application.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "platform/linux/ApplicationPlatform.h"
#include "platform/linux/FrameViewport.h"
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

// The first screen until the game's own modes exist: a black frame.
class BlackFrameMode final : public Strata::ApplicationMode
{
  public:
    void Draw() override
    {
        Strata::Graphics::sDrawState state = Strata::Graphics::sDrawState::GetDefaults();
        state.color = Strata::ColorF(0.0f, 0.0f, 0.0f, 1.0f);
        Strata::Graphics::DrawFilledRect(Strata::Rect<int>(0, 0, Linux::kFrameWidth, Linux::kFrameHeight),
                                         state, Strata::Graphics::GetCanvas());
    }
};

class MenagerieApplication final : public Strata::BaseApplication
{
  public:
    MenagerieApplication()
    {
        mDescriptor.companyName = L"Strata";
        mDescriptor.productName = L"Menagerie";
        mDescriptor.copyright = L"Copyright \u00a9 2026 the Menagerie authors";
        mDescriptor.userVersion = L"0.1";
        mDescriptor.fullVersion = L"0.1.0.0";
        mDescriptor.version[0] = 0;
        mDescriptor.version[1] = 1;
        mDescriptor.version[2] = 0;
        mDescriptor.version[3] = 0;
        mDescriptor.windowTitle = L"Menagerie";
    }

    const Strata::sApplicationDescriptor& GetDescriptor() const override { return mDescriptor; }

    // Windowed 800 x 600 unless the player's account chose full screen.
    Strata::sWindowConfig GetDefaultWindowConfig() const override
    {
        Strata::sWindowConfig config{0, 1, Linux::kFrameWidth, Linux::kFrameHeight};
        if (Strata::Account* account = Strata::GetAccountManager()->GetCurrentAccount())
        {
            const int windowed = 0;
            config.mode = account->ReadValue(L"Strata::Window::Mode", windowed) == 0 ? 0 : 1;
        }
        return config;
    }

    // The audio back end registers itself; the engine sets it up with the others.
    void RegisterSingletons() override { Strata::CreateDefaultAudioPlatform(); }

    void Setup() override
    {
        Strata::Audio::LoadAccountSettings();
        Strata::MainLoop::ChangeMode(new BlackFrameMode());
    }

    void Cleanup() override { Strata::Audio::SaveAccountSettings(); }

  private:
    Strata::sApplicationDescriptor mDescriptor;
};

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
    if (locale == nullptr ||
        (std::strstr(locale, "UTF-8") == nullptr && std::strstr(locale, "utf8") == nullptr))
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

} // namespace

int main(int argc, char** argv)
{
    SetTextLocale();
    Strata::SetCommandLine(argc, argv);
    MenagerieApplication application;
    Strata::MainLoop::SetPlatformFactory(&Linux::CreatePlatform);
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
