#pragma once

#include "framework/WindowConfig.h"
#include "graphics/GraphicsPlatform.h"
#include "support/FakePlatform.h"

#include <functional>

namespace Strata::Testing
{

// A renderer scripted by the test. Registers itself when constructed and unregisters when
// destroyed. "GraphicsSetup", "GraphicsCleanup" and "GraphicsDeleted" are logged by name; scenes
// are counted.
class FakeGraphicsPlatform : public IGraphicsPlatform
{
public:
    explicit FakeGraphicsPlatform(CallLog* log = nullptr, unsigned long caps = 2);
    ~FakeGraphicsPlatform() override;
    FakeGraphicsPlatform(const FakeGraphicsPlatform&) = delete;
    FakeGraphicsPlatform& operator=(const FakeGraphicsPlatform&) = delete;

    // --- script ---
    int beginSceneResult = 0;
    // GetScreenCanvas answers `screenCanvas` when set, else a non-null pointer that must never be
    // used.
    bool hasScreenCanvas = true;
    ICanvas* screenCanvas = nullptr;
    // Called by Setup after it is logged (a test throws here to fail the renderer).
    std::function<void(const sWindowConfig&)> onSetup;
    // Called by GetSupportedWindowConfig to adjust the configuration.
    std::function<void(sWindowConfig*)> onGetSupportedWindowConfig;
    // Counts the scenes into a counter the test keeps, so they can be read after the main loop
    // has deleted this renderer.
    int* endSceneCounter = nullptr;

    // --- record ---
    const CallLog& Calls() const { return *mLog; }
    int beginSceneCount = 0;
    int endSceneCount = 0;
    // The configurations Setup was given, in order.
    std::vector<sWindowConfig> setups;

    const wchar_t* GetName() override;
    void GetSupportedWindowConfig(sWindowConfig* config) override;
    unsigned long GetCaps() override;
    void Setup(const sWindowConfig& config) override;
    void Cleanup() override;
    int BeginScene() override;
    int EndScene() override;
    ICanvas* GetScreenCanvas() override;
    ITexture* CreateTexture(const Image* image, const Rect<int>* subRect) override;

private:
    CallLog mOwnLog;
    CallLog* mLog;
    unsigned long mCaps;
    char mDummyCanvas = 0;
};

} // namespace Strata::Testing
