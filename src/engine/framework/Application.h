#pragma once

#include "framework/WindowConfig.h"

#include <cstdint>

namespace Strata
{

// Who the program is: the per-user folder is named after company and product, the window after
// the title (the product name when the title is null). Every text is a static null-terminated string.
struct sApplicationDescriptor
{
    const wchar_t* companyName = L"[Company Name]";
    const wchar_t* productName = L"[Product Name]";
    const wchar_t* copyright = L"[Copyright]";
    const wchar_t* userVersion = L"[User Version]";
    const wchar_t* fullVersion = L"[Full Version]";
    uint16_t version[4] = {0, 0, 0, 0};
    const wchar_t* windowTitle = nullptr;
};

struct sApplicationConfig
{
    // Non-zero: set-up asks the platform whether another instance runs, and stops if so.
    int32_t singleInstance = 1;
    // Non-zero: the loop keeps updating and drawing while the application is inactive.
    int32_t runInBackground = 0;
};

enum eGraphicsPlatformCapabilities : unsigned long
{
    GraphicsPlatformCaps_Software = 1,
    GraphicsPlatformCaps_Hardware = 2, // translucent drawing available
};

// The program as the engine sees it. The main loop calls these at fixed points of set-up, every
// frame and tear-down.
class IApplication
{
public:
    virtual ~IApplication() = default;
    virtual const sApplicationDescriptor& GetDescriptor() const = 0;
    virtual const sApplicationConfig& GetConfig() const = 0;
    virtual sWindowConfig GetDefaultWindowConfig() const = 0;
    virtual unsigned long GetDefaultGraphicsPlatformCaps() const = 0;
    // After the platform's set-up: the place to create the audio platform and other back ends.
    virtual void RegisterSingletons() = 0;
    // Last step of engine set-up, before the first frame.
    virtual void Setup() = 0;
    // First step of tear-down, after every mode has been popped.
    virtual void Cleanup() = 0;
    // Overlays, drawn above every mode.
    virtual void Draw() = 0;
    // Each update step, before the top mode.
    virtual void Update(float dt) = 0;
    // After a mode change has completed.
    virtual void OnEnterMode() = 0;
};

// The base of the program's application class: default descriptor, configuration and window, and
// nothing done at any of the calls. Constructing one records it as the application; destroying it
// clears the record when the record still names it.
class BaseApplication : public IApplication
{
public:
    BaseApplication();
    ~BaseApplication() override;
    BaseApplication(const BaseApplication&) = delete;
    BaseApplication& operator=(const BaseApplication&) = delete;

    const sApplicationDescriptor& GetDescriptor() const override;
    const sApplicationConfig& GetConfig() const override;
    // Full screen, resize policy 1, 800 x 600.
    sWindowConfig GetDefaultWindowConfig() const override;
    // Hardware rendering.
    unsigned long GetDefaultGraphicsPlatformCaps() const override;
    void RegisterSingletons() override;
    void Setup() override;
    void Cleanup() override;
    void Draw() override;
    void Update(float dt) override;
    void OnEnterMode() override;

private:
    sApplicationDescriptor mDescriptor;
};

// The recorded application; null before one is constructed and after it is destroyed.
IApplication* GetApplication();

// Asked by MainLoop::RequestQuit before the program ends.
class IQuitHandler
{
public:
    virtual ~IQuitHandler() = default;
    // True when the program may quit now.
    virtual bool CanQuit() = 0;
};

} // namespace Strata
