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

void FakeGraphicsPlatform::GetSupportedWindowConfig(sWindowConfig*) {}

unsigned long FakeGraphicsPlatform::GetCaps()
{
    return mCaps;
}

void FakeGraphicsPlatform::Setup(const sWindowConfig&)
{
    mLog->push_back("GraphicsSetup");
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
    return hasScreenCanvas ? reinterpret_cast<ICanvas*>(&mDummyCanvas) : nullptr;
}

ITexture* FakeGraphicsPlatform::CreateTexture(const Image*, const Rect<int>*)
{
    return nullptr;
}

} // namespace Strata::Testing
