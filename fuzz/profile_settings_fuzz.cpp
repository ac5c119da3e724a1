// Feeds arbitrary bytes to the engine as the current account's file, then reads the settings the engine
// keeps there: the volume and mute flag of each sound group, the window mode and the custom-cursor flag
// (through a scripted platform and renderer). Whatever is stored, the mixer gets a finite volume in range
// and a plain flag, the window opens in a mode the platform knows, the platform's cursor is shown exactly
// when the custom one is off, and what is saved back reads back as the same settings.

#include "FuzzSupport.h"

#include "audio/Audio.h"
#include "audio/AudioControls.h"
#include "core/FileSystem.h"
#include "core/Log.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/WindowConfig.h"
#include "graphics/Window.h"
#include "support/FakeGraphicsPlatform.h"
#include "support/FakePlatform.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

using namespace Strata;
using Strata::Fuzzing::Check;
using Strata::Testing::CallLog;
using Strata::Testing::FakeGraphicsPlatform;
using Strata::Testing::FakePlatform;

namespace
{

CallLog gLog;

IGraphicsPlatform* MakeRenderer(unsigned long caps)
{
    return new FakeGraphicsPlatform(&gLog, caps);
}

const wchar_t* const kPrefixes[] = {L"Strata::Audio::MasterControls", L"Strata::Audio::EffectControls",
                                    L"Strata::Audio::MusicControls"};

AudioControlsPtr NewControls()
{
    return AudioControlsPtr(new Internal::BaseAudioControls(nullptr), false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FakePlatform platform(&gLog);
    static Fuzzing::WritableMemoryPartition* const disk = []
    {
        auto* made = new Fuzzing::WritableMemoryPartition();
        (new FileSystem())->AddFileSystemPartition(FileSystemPartition_User, made);
        Window::SetGraphicsPlatformFactory(&MakeRenderer);
        // The game opens its window before it reads the account: a record that is missing keeps this.
        Window::SetConfig(sWindowConfig{1, 1, 800, 600});
        return made;
    }();
    static const std::wstring accountFile = []
    {
        const FileAddress& file = GetAccountManager()->GetCurrentAccount()->GetFile();
        return std::wstring(file.GetName()) + file.GetExtension();
    }();

    disk->files[accountFile] = std::string(reinterpret_cast<const char*>(data), size);
    // What a damaged file makes the accounts log is kept off the terminal: it would slow every run.
    std::string log;
    const Internal::ScopedLogCapture quiet(log);
    Account* account = GetAccountManager()->GetCurrentAccount();
    gLog.clear();
    platform.hardwareCursorEnables.clear();

    for (const wchar_t* prefix : kPrefixes)
    {
        // Both start alike, so a file whose change could not be saved reads back the same too.
        const AudioControlsPtr controls = NewControls();
        controls->SetVolume(0.5f);
        Audio::LoadAudioControls(account, prefix, controls.get());
        AudioSettings loaded;
        controls->SaveSettings(&loaded);
        Check(std::isfinite(loaded.volume) && loaded.volume >= 0.0f && loaded.volume <= 16.0f);
        Check(loaded.muted == 0 || loaded.muted == 1);
        // Saved and read again into fresh controls, the settings are the same, up to the decimals saved.
        Audio::SaveAudioControls(account, prefix, controls.get());
        const AudioControlsPtr again = NewControls();
        again->SetVolume(0.5f);
        Audio::LoadAudioControls(account, prefix, again.get());
        AudioSettings reread;
        again->SaveSettings(&reread);
        Check(std::fabs(reread.volume - loaded.volume) <= 1e-5f);
        Check(reread.muted == loaded.muted);
    }

    Window::LoadAccountSettings();
    const int mode = Window::GetConfig().mode;
    Check(mode == 0 || mode == 1);
    Check(!platform.hardwareCursorEnables.empty());
    // The system's cursor shows exactly while no picture is drawn.
    Check(platform.hardwareCursorEnables.back() == !Window::IsCustomCursorDrawn());
    const bool custom = Window::IsCustomCursorEnabled();
    Window::SaveAccountSettings();
    const std::wstring savedMode = account->ReadValue(L"Strata::Window::Mode");
    if (!savedMode.empty())
        Check(savedMode == (mode == 0 ? L"0" : L"1"));
    const std::wstring savedCursor = account->ReadValue(L"Strata::Window::IsCustomCursorEnabled");
    if (!savedCursor.empty())
        Check(savedCursor == (custom ? L"true" : L"false"));
    // Read back, the same mode and flag apply.
    platform.hardwareCursorEnables.clear();
    Window::LoadAccountSettings();
    Check(Window::GetConfig().mode == mode);
    Check(Window::IsCustomCursorEnabled() == custom);
    Check(!platform.hardwareCursorEnables.empty() &&
          platform.hardwareCursorEnables.back() == !Window::IsCustomCursorDrawn());
    return 0;
}
