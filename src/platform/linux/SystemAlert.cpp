#include "platform/linux/SystemAlert.h"

#include "core/Log.h"
#include "core/WideString.h"
#include "platform/linux/FrameViewport.h"

#include <SDL.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace Linux
{

namespace
{

std::string ToUTF8(const std::wstring& text)
{
    const auto bytes = Strata::ConvertStringWideToUTF8(text.c_str());
    return bytes ? std::string(reinterpret_cast<const char*>(bytes.get())) : std::string();
}

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Set once SDL's video ran on a display in this process.
std::atomic<bool> gDisplayReached{false};

bool IsScreenlessDriver(const char* driver)
{
    return driver != nullptr && (strcasecmp(driver, "dummy") == 0 || strcasecmp(driver, "offscreen") == 0);
}

// SDL's video on a driver with a screen: running already, or started now (then `startedHere`).
bool StartVideoOnAScreen(bool* startedHere)
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return false;
        *startedHere = true;
    }
    if (!IsScreenlessDriver(SDL_GetCurrentVideoDriver()))
        return true;
    if (*startedHere)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    *startedHere = false;
    return false;
}

} // namespace

bool CanShowMessageBox()
{
    if (IsScreenlessDriver(std::getenv("SDL_VIDEODRIVER")))
        return false;
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

void NoteDisplayReached()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0 && !IsScreenlessDriver(SDL_GetCurrentVideoDriver()))
        gDisplayReached = true;
}

namespace
{

// The box on the display SDL's video runs on, started for it when needed; false when not shown.
bool ShowMessageBox(const std::string& title, const std::string& message, const std::wstring& button)
{
    bool startedHere = false;
    if (!CanShowMessageBox() || !StartVideoOnAScreen(&startedHere))
        return false;
    const std::string buttonText = ToUTF8(button.empty() ? std::wstring(L"OK") : button);
    SDL_MessageBoxButtonData buttons[1] = {};
    buttons[0].flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    buttons[0].buttonid = 0;
    buttons[0].text = buttonText.c_str();

    SDL_MessageBoxData data = {};
    data.flags = SDL_MESSAGEBOX_WARNING;
    data.window = GetMainWindow();
    data.title = title.c_str();
    data.message = message.c_str();
    data.numbuttons = 1;
    data.buttons = buttons;
    int pressed = -1;
    const bool shown = SDL_ShowMessageBox(&data, &pressed) == 0;
    if (!shown)
        Strata::Internal::LogWrite("Could not show a message box: %s\n", SDL_GetError());
    if (startedHere)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return shown;
}

} // namespace

void ShowSystemAlert(const std::wstring& title, const std::wstring& message, const std::wstring& button)
{
    const std::string titleText = ToUTF8(title);
    const std::string messageText = ToUTF8(message);
    if (gDisplayReached && ShowMessageBox(titleText, messageText, button))
        return;
    Strata::Internal::LogWrite("%s\n%s\n", titleText.c_str(), messageText.c_str());
}

bool ShowStartupAlert(const std::wstring& title, const std::wstring& message, const std::wstring& button)
{
    return ShowMessageBox(ToUTF8(title), ToUTF8(message), button);
}

} // namespace Linux

namespace Strata::Platform
{

void ModalNotification(const std::wstring& message, const std::wstring& header)
{
    Linux::ShowSystemAlert(header, message, L"OK");
}

} // namespace Strata::Platform
