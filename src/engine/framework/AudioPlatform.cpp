#include "framework/AudioPlatform.h"

#include "core/Label.h"
#include "framework/AudioInterfaces.h"

#include <atomic>

namespace Strata
{

namespace
{
// The audio front end's volume groups, interned before main so their first spelling is this one.
const Label gEffectLabel(L"Effect");
const Label gAmbientLabel(L"Ambient");
const Label gMusicLabel(L"Music");

// Constant-initialised: a back end made by a static initialiser may register before main.
constinit std::atomic<IAudioPlatform*> gAudioPlatform{nullptr};
} // namespace

void RegisterSingleton(IAudioPlatform* platform)
{
    gAudioPlatform.store(platform);
}

void UnregisterSingleton(IAudioPlatform* platform)
{
    IAudioPlatform* expected = platform;
    gAudioPlatform.compare_exchange_strong(expected, nullptr);
}

bool IsAudioPlatformRegistered()
{
    return gAudioPlatform.load() != nullptr;
}

IAudioPlatform* GetAudioPlatform()
{
    return gAudioPlatform.load();
}

} // namespace Strata

namespace Strata
{

// The intrusive pointers of these answers are only ever null here, so the incomplete types never need
// their reference hooks.
boost::intrusive_ptr<ISoundChannel> IAudioPlatform::CreateChannel()
{
    return {};
}

boost::intrusive_ptr<IAudioControls> IAudioPlatform::GetMasterControls()
{
    return {};
}

boost::intrusive_ptr<IAudioControls> IAudioPlatform::GetControls(Label)
{
    return {};
}

boost::intrusive_ptr<IAudioControls> IAudioPlatform::CreateControls(IAudioControls*)
{
    return {};
}

bool IAudioPlatform::WasSoundPlayedRecently(const ISound*, unsigned)
{
    return false;
}

} // namespace Strata
