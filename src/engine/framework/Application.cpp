#include "framework/Application.h"

namespace Strata
{

namespace
{

constinit IApplication* gApplication = nullptr;

constexpr sApplicationConfig kDefaultConfig{};

} // namespace

BaseApplication::BaseApplication()
{
    gApplication = this;
}

BaseApplication::~BaseApplication()
{
    if (gApplication == this)
        gApplication = nullptr;
}

const sApplicationDescriptor& BaseApplication::GetDescriptor() const
{
    return mDescriptor;
}

const sApplicationConfig& BaseApplication::GetConfig() const
{
    return kDefaultConfig;
}

sWindowConfig BaseApplication::GetDefaultWindowConfig() const
{
    return sWindowConfig{1, 1, 800, 600};
}

unsigned long BaseApplication::GetDefaultGraphicsPlatformCaps() const
{
    return GraphicsPlatformCaps_Hardware;
}

void BaseApplication::RegisterSingletons()
{
}

void BaseApplication::Setup()
{
}

void BaseApplication::Cleanup()
{
}

void BaseApplication::Draw()
{
}

void BaseApplication::Update(float)
{
}

void BaseApplication::OnEnterMode()
{
}

IApplication* GetApplication()
{
    return gApplication;
}

} // namespace Strata
