#include "framework/ApplicationMode.h"

#include "framework/FrameHooks.h"

namespace Strata
{

ApplicationMode::~ApplicationMode() = default;

void ApplicationMode::Setup()
{
}

void ApplicationMode::Destroy()
{
}

void ApplicationMode::Enter()
{
}

void ApplicationMode::Exit()
{
}

bool ApplicationMode::IsOpaque()
{
    return true;
}

// The dimming needs the drawing layer, which installs it; without it the modes below show undimmed.
void ApplicationMode::DrawBackground()
{
    if (const auto dimBackground = GetFrameHooks().dimBackground)
        dimBackground();
}

ObjectDatabase* ApplicationMode::GetObjectDatabase()
{
    return this;
}

} // namespace Strata
