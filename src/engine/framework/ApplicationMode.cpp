#include "framework/ApplicationMode.h"

namespace Strata
{

ApplicationMode::~ApplicationMode() = default;

void ApplicationMode::Setup() {}

void ApplicationMode::Destroy() {}

void ApplicationMode::Enter() {}

void ApplicationMode::Exit() {}

bool ApplicationMode::IsOpaque()
{
    return true;
}

// The dimming of the modes below needs the drawing layer; until then they show undimmed, as they do
// with software rendering.
void ApplicationMode::DrawBackground() {}

ObjectDatabase* ApplicationMode::GetObjectDatabase()
{
    return this;
}

} // namespace Strata
