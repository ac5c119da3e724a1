#include "framework/FrameHooks.h"

namespace Strata
{

namespace
{
sFrameHooks gHooks;
}

void InstallFrameHooks(const sFrameHooks& hooks) { gHooks = hooks; }

const sFrameHooks& GetFrameHooks() { return gHooks; }

} // namespace Strata
