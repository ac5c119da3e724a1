#include "graphics/Window.h"

#include "core/Log.h"
#include "core/RuntimeError.h"
#include "core/Time.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/Application.h"
#include "framework/FrameHooks.h"
#include "framework/MainLoop.h"
#include "framework/Platform.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/FrameRecorder.h"
#include "graphics/GraphicsPlatform.h"

#include <cxxabi.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace Strata::Window
{

namespace
{

constexpr const wchar_t* kModeKey = L"Strata::Window::Mode";
constexpr const wchar_t* kCustomCursorKey = L"Strata::Window::IsCustomCursorEnabled";
// Profiles saved before anything offered the choice hold the flag off for every player, though no
// player chose it: the flag is read only from a profile that also holds this version or a later one.
constexpr const wchar_t* kCustomCursorVersionKey = L"Strata::Window::CustomCursorVersion";
constexpr int kCustomCursorVersion = 2;

constexpr sWindowConfig kStartConfig{-1, 1, 800, 600};

struct sFallback
{
    unsigned long caps;
    int mode;
};

// Tried in this order from the first entry with the requested mode on.
constexpr std::array<sFallback, 4> kFallbacks{{
    {GraphicsPlatformCaps_Hardware, WindowMode_FullScreen},
    {GraphicsPlatformCaps_Software, WindowMode_FullScreen},
    {GraphicsPlatformCaps_Hardware, WindowMode_Windowed},
    {GraphicsPlatformCaps_Software, WindowMode_Windowed},
}};

struct sWindowState
{
    sWindowConfig applied = kStartConfig;
    // On unless a player turns it off: a cursor without an image leaves the system's own showing.
    bool customCursorEnabled = true;
    IImage* cursorImage = nullptr;
    Vector2<int> hotSpot;
    std::vector<IWindowModeChangeHandler*> handlers;
    GraphicsPlatformFactory factory = nullptr;
};

sWindowState& State()
{
    static sWindowState state;
    return state;
}

// Exactly one pointer: the system's shows unless a picture is drawn in its place.
bool DrawsPicture()
{
    return State().customCursorEnabled && State().cursorImage != nullptr;
}

void ShowSystemCursorUnlessDrawn()
{
    if (IPlatform* platform = GetPlatform())
        platform->EnableHardwareCursor(!DrawsPicture());
}

std::string TypeName(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled);
}

void LogFailure(const std::exception& error)
{
    Strata::Internal::LogWrite("Error initializing IGraphicsPlatform: ");
    Strata::Internal::LogWrite("%s\n", TypeName(error).c_str());
    if (const auto* runtime = dynamic_cast<const RuntimeError*>(&error))
    {
        Strata::Internal::LogWrite(" Function: %s\n", runtime->GetFunction().c_str());
        Strata::Internal::LogWrite(" File: %s\n", runtime->GetFile().c_str());
        Strata::Internal::LogWrite(" Line: %d\n", runtime->GetLine());
    }
    Strata::Internal::LogWrite(" Message: %s\n", error.what());
}

// Cleans the renderer up and deletes it; it is deleted even when its clean-up fails, whose error then
// propagates.
void DeleteGraphicsPlatform(IRenderPlatform* graphics)
{
    try
    {
        graphics->Cleanup();
    }
    catch (...)
    {
        UnregisterSingleton(graphics);
        delete graphics;
        throw;
    }
    UnregisterSingleton(graphics);
    delete graphics;
}

void NotifyHandlers()
{
    // A handler may add or remove handlers: walk a copy, skipping those removed meanwhile.
    const std::vector<IWindowModeChangeHandler*> handlers = State().handlers;
    for (IWindowModeChangeHandler* handler : handlers)
    {
        const auto& current = State().handlers;
        if (std::find(current.begin(), current.end(), handler) != current.end())
            handler->OnWindowModeChange();
    }
}

// One fall-back entry: a new renderer and window for the configuration.
void ApplyCandidate(IPlatform* platform, const sWindowConfig& requested, unsigned long caps)
{
    sWindowState& state = State();
    // A new renderer may sit where the old one was: the frame on screen is no longer the one recorded.
    Graphics::FrameRecording::Invalidate();
    if (IRenderPlatform* old = GetRenderPlatform())
        DeleteGraphicsPlatform(old);
    platform->DestroyWindow();

    IGraphicsPlatform* graphics = state.factory(caps);
    if (graphics == nullptr)
        STRATA_THROW(RuntimeError, "The graphics platform factory made no renderer.");
    // The registry slot owns it from here: the next application or the tear-down deletes it.
    RegisterSingleton(graphics);

    sWindowConfig adjusted = requested;
    platform->GetSupportedWindowConfig(&adjusted);
    graphics->GetSupportedWindowConfig(&adjusted);
    state.applied = adjusted;

    platform->CreateWindow(state.applied);
    graphics->Setup(state.applied);
    NotifyHandlers();
}

} // namespace

const sWindowConfig& GetConfig()
{
    return State().applied;
}

void SetConfig(const sWindowConfig& config)
{
    Internal::ApplyConfig(config);
}

void SetMode(eWindowMode mode)
{
    sWindowConfig config = State().applied;
    config.mode = mode;
    Internal::ApplyConfig(config);
}

void ToggleMode()
{
    SetMode(State().applied.mode == WindowMode_Windowed ? WindowMode_FullScreen : WindowMode_Windowed);
}

void EnableCustomCursor(bool enable)
{
    State().customCursorEnabled = enable;
    ShowSystemCursorUnlessDrawn();
}

void SetCustomCursor(IImage* image, const Vector2<int>& hotSpot)
{
    const bool drew = DrawsPicture();
    State().cursorImage = image;
    State().hotSpot = hotSpot;
    if (DrawsPicture() != drew)
        ShowSystemCursorUnlessDrawn();
}

bool IsCustomCursorEnabled()
{
    return State().customCursorEnabled;
}

bool IsCustomCursorDrawn()
{
    return DrawsPicture();
}

void SetCursor(eCursor cursor)
{
    IPlatform* platform = GetPlatform();
    if (platform == nullptr)
        return;
    IImage* image = platform->GetCustomCursorImage(cursor);
    const Vector2<int> hotSpot = platform->GetCustomCursorHotSpot(cursor);
    SetCustomCursor(image, hotSpot);
    platform->SetHardwareCursor(cursor);
}

void SaveAccountSettings()
{
    Account* account = GetAccountManager()->GetCurrentAccount();
    if (account == nullptr)
        return;
    account->WriteValue(kModeKey, State().applied.mode);
    account->WriteValue(kCustomCursorKey, State().customCursorEnabled);
    account->WriteValue(kCustomCursorVersionKey, kCustomCursorVersion);
}

void LoadAccountSettings()
{
    Account* account = GetAccountManager()->GetCurrentAccount();
    if (account == nullptr)
        return;

    sWindowConfig config = State().applied;
    if (!account->ReadValue(kModeKey).empty())
    {
        // Whatever else is stored (a damaged or foreign value) would match no renderer at all.
        const int stored = account->ReadValue(kModeKey, static_cast<int>(WindowMode_FullScreen));
        config.mode = stored == WindowMode_Windowed ? WindowMode_Windowed : WindowMode_FullScreen;
    }
    Internal::ApplyConfig(config);

    bool enabled = State().customCursorEnabled;
    if (account->ReadValue(kCustomCursorVersionKey, 0) >= kCustomCursorVersion)
        enabled = account->ReadValue(kCustomCursorKey, enabled);
    EnableCustomCursor(enabled);
}

void AddWindowModeChangeHandler(IWindowModeChangeHandler* handler)
{
    auto& handlers = State().handlers;
    if (handler != nullptr && std::find(handlers.begin(), handlers.end(), handler) == handlers.end())
        handlers.push_back(handler);
}

void RemoveWindowModeChangeHandler(IWindowModeChangeHandler* handler)
{
    std::erase(State().handlers, handler);
}

void SetGraphicsPlatformFactory(GraphicsPlatformFactory factory)
{
    State().factory = factory;
}

void InstallFrameHooks()
{
    sFrameHooks hooks;
    hooks.applyWindowConfig = &SetConfig;
    hooks.drawCustomCursor = &Internal::DrawCustomCursor;
    hooks.dimBackground = &Internal::DimBackground;
    hooks.drawFrame = [](const std::function<void()>& draw, bool force)
    { Graphics::FrameRecording::DrawFrame(draw, force); };
    Strata::InstallFrameHooks(hooks);
}

namespace Internal
{

void ApplyConfig(const sWindowConfig& config)
{
    sWindowState& state = State();
    // A renderer torn down with the engine leaves nothing applied, whatever the record says.
    if (config.mode == state.applied.mode && config.width == state.applied.width &&
        config.height == state.applied.height && IsGraphicsPlatformRegistered())
        return;

    IPlatform* platform = GetPlatform();
    if (platform == nullptr)
        STRATA_THROW(RuntimeError, "Window::SetConfig: no platform is registered.");
    if (state.factory == nullptr)
        STRATA_THROW(RuntimeError, "Window::SetConfig: no graphics platform factory is set.");

    const IApplication* application = GetApplication();
    const unsigned long caps = application != nullptr ? application->GetDefaultGraphicsPlatformCaps()
                                                      : static_cast<unsigned long>(GraphicsPlatformCaps_Hardware);
    const bool software = GetCommandLine().find(L"-software") != std::wstring::npos;

    bool reached = false;
    for (size_t i = 0; i < kFallbacks.size(); ++i)
    {
        const sFallback& entry = kFallbacks[i];
        reached = reached || entry.mode == config.mode;
        if (!reached || (software && entry.caps == GraphicsPlatformCaps_Hardware))
            continue;

        unsigned long flags = caps | entry.caps;
        if ((flags & GraphicsPlatformCaps_Software) != 0)
            flags &= ~static_cast<unsigned long>(GraphicsPlatformCaps_Hardware);
        sWindowConfig requested = config;
        requested.mode = entry.mode;
        try
        {
            ApplyCandidate(platform, requested, flags);
            return;
        }
        catch (const std::exception& error)
        {
            LogFailure(error);
            if (i + 1 == kFallbacks.size())
                throw;
        }
    }
}

void DrawCustomCursor()
{
    const sWindowState& state = State();
    if (!state.customCursorEnabled || !IsGraphicsPlatformRegistered())
        return;
    const Vector2<int> mouse = MainLoop::GetLastMousePos();
    if (mouse.x < 0 || mouse.y < 0)
        return;
    // Off the screen (on a letterbox's bar) the platform shows its own cursor: no sliver of this one.
    if (const ICanvas* canvas = Graphics::GetCanvas();
        canvas != nullptr && !canvas->GetBounds().contains(Rect<int>(mouse.x, mouse.y, 1, 1)))
        return;
    // In 64 bits: a hot spot far off the image must not overflow.
    const float x = static_cast<float>(static_cast<int64_t>(mouse.x) - state.hotSpot.x);
    const float y = static_cast<float>(static_cast<int64_t>(mouse.y) - state.hotSpot.y);
    Graphics::DrawImage(state.cursorImage, x, y, Graphics::GetDrawState(), Graphics::GetCanvas());
}

void DimBackground()
{
    IGraphicsPlatform* graphics = GetGraphicsPlatform();
    if (graphics == nullptr || (graphics->GetCaps() & GraphicsPlatformCaps_Hardware) == 0)
        return;
    // Through the proxy, as every screen drawing goes, so that a recorded frame holds it.
    ICanvas* screen = Graphics::GetScreenCanvas();
    if (graphics->GetScreenCanvas() == nullptr)
        return;

    Graphics::PushContext(Graphics::GetContext());
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.color = ColorF(0.0f, 0.0f, 0.0f, 0.5f);
    state.flags |= Graphics::DrawFlag_Blend;
    Graphics::SetDrawState(state);
    Graphics::DrawFilledRect(screen->GetBounds(), Graphics::GetDrawState(), screen);
    Graphics::PopContext();
}

void ResetForTesting()
{
    State() = sWindowState();
}

} // namespace Internal

} // namespace Strata::Window
