#pragma once

// The game's application: who it is, its window, its audio back end, its resource factories and the
// start-up manifests queued behind the loading screen.

#include "controls/LoadingMode.h"
#include "framework/AccountManager.h"
#include "framework/Application.h"

#include <memory>
#include <string>
#include <vector>

namespace Yardcrew
{

class Application : public Strata::BaseApplication, public Strata::IAccountChangeHandler
{
public:
    Application() = default;

    // Built once on the first call; it names the per-user folder.
    const Strata::sApplicationDescriptor& GetDescriptor() const override;
    // 800 x 600, resize policy 1; the mode is the current account's "Strata::Window::Mode" (full screen
    // when the account has none, or when there is no account).
    Strata::sWindowConfig GetDefaultWindowConfig() const override;
    void RegisterSingletons() override;
    // Registers the scene graph and the game's resource factories, queues the start-up manifests
    // behind the loading screen and makes it the first mode, then follows the current account.
    void Setup() override;
    // Saves the window and audio settings into the current account and stops following it.
    void Cleanup() override;
    // Advances the voice queue.
    void Update(float dt) override;

    // Save into the account being left; apply the one being entered.
    void OnBeforeAccountChange() override;
    void OnAfterAccountChange() override;
};

// Registers the main menu and the sticker book with the level manager, keeping the screens already
// registered.
void RegisterFrontScreens();
// Registers every registered game's level reader and mode, and the story reader.
void RegisterGameResourceFactories();

// The start-up manifests after "resources", in load order; the voices follow the account's
// "EnglishLanguage" choice (English when the account has none).
std::vector<std::wstring> GetStartupManifests(bool english);

// What the loading screen loads before the start-up manifests: its own manifest in the profile's
// language ("Loading" or "Loading_SP"), then "resources".
std::vector<std::wstring> GetLoadingScreenManifests(bool english);

// The game's loading screen: loads "resources" first, then whatever is queued, and hands over to the
// title screen.
class LoadingMode : public Strata::LoadingMode
{
public:
    // Shows the splash and the loading words of the profile's language ("Loading" or "Loading_SP").
    explicit LoadingMode(bool english = true);
    void OnAfterLoad() override;
};

// The loading screen with the thirty start-up loads queued, "resources" first.
std::unique_ptr<LoadingMode> MakeStartupLoadingMode();

} // namespace Yardcrew
