#include "framework/SoundListHooks.h"

namespace Strata
{

namespace
{
sSoundListHooks gHooks;
}

void InstallSoundListHooks(const sSoundListHooks& hooks)
{
    gHooks = hooks;
}

const sSoundListHooks& GetSoundListHooks()
{
    return gHooks;
}

} // namespace Strata
