#include "support/FakeGraphicsPlatform.h"

namespace Strata::Testing
{

FakeGraphicsPlatform::FakeGraphicsPlatform(CallLog* log, unsigned long caps)
    : mLog(log != nullptr ? log : &mOwnLog), mCaps(caps)
{
    RegisterSingleton(this);
}

FakeGraphicsPlatform::~FakeGraphicsPlatform()
{
    mLog->push_back("GraphicsDeleted");
    UnregisterSingleton(this);
}

const wchar_t* FakeGraphicsPlatform::GetName()
{
    return L"Fake";
}

void FakeGraphicsPlatform::GetSupportedWindowConfig(sWindowConfig* config)
{
    if (onGetSupportedWindowConfig)
        onGetSupportedWindowConfig(config);
}

unsigned long FakeGraphicsPlatform::GetCaps()
{
    return mCaps;
}

void FakeGraphicsPlatform::Setup(const sWindowConfig& config)
{
    mLog->push_back("GraphicsSetup");
    setups.push_back(config);
    if (onSetup)
        onSetup(config);
}

void FakeGraphicsPlatform::Cleanup()
{
    mLog->push_back("GraphicsCleanup");
}

int FakeGraphicsPlatform::BeginScene()
{
    ++beginSceneCount;
    return beginSceneResult;
}

int FakeGraphicsPlatform::EndScene()
{
    ++endSceneCount;
    if (endSceneCounter != nullptr)
        ++*endSceneCounter;
    return 0;
}

ICanvas* FakeGraphicsPlatform::GetScreenCanvas()
{
    if (!hasScreenCanvas)
        return nullptr;
    return screenCanvas != nullptr ? screenCanvas : reinterpret_cast<ICanvas*>(&mDummyCanvas);
}

ITexture* FakeGraphicsPlatform::CreateTexture(const Image*, const Rect<int>*)
{
    return nullptr;
}

} // namespace Strata::Testing
