#include "platform/linux/SystemAlert.h"

#include "core/Log.h"
#include "core/WideString.h"
#include "platform/linux/FrameViewport.h"

#include <SDL.h>

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

} // namespace

bool CanShowMessageBox()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (strcasecmp(driver, "dummy") == 0 || strcasecmp(driver, "offscreen") == 0))
        return false;
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

void ShowSystemAlert(const std::wstring& title, const std::wstring& message, const std::wstring& button)
{
    const std::string titleText = ToUTF8(title);
    const std::string messageText = ToUTF8(message);
    if (CanShowMessageBox())
    {
        const std::string buttonText = ToUTF8(button.empty() ? std::wstring(L"OK") : button);
        SDL_MessageBoxButtonData buttons[1] = {};
        buttons[0].flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        buttons[0].buttonid = 0;
        buttons[0].text = buttonText.c_str();

        SDL_MessageBoxData data = {};
        data.flags = SDL_MESSAGEBOX_WARNING;
        data.window = GetMainWindow();
        data.title = titleText.c_str();
        data.message = messageText.c_str();
        data.numbuttons = 1;
        data.buttons = buttons;
        int pressed = -1;
        if (SDL_ShowMessageBox(&data, &pressed) == 0)
            return;
        Strata::Internal::LogWrite("Could not show a message box: %s\n", SDL_GetError());
    }
    Strata::Internal::LogWrite("%s\n%s\n", titleText.c_str(), messageText.c_str());
}

} // namespace Linux

namespace Strata::Platform
{

void ModalNotification(const std::wstring& message, const std::wstring& header)
{
    Linux::ShowSystemAlert(header, message, L"OK");
}

} // namespace Strata::Platform
