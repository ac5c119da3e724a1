#include "game/GameApplication.h"

#include "audio/Audio.h"
#include "core/Log.h"
#include "core/Rect.h"
#include "framework/Account.h"
#include "framework/Cursor.h"
#include "framework/LoadingTask.h"
#include "framework/MainLoop.h"
#include "framework/Platform.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "game/AudioManager.h"
#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/LevelProgression.h"
#include "game/MiniGameContent.h"
#include "game/screens/CutsceneMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyOptionsMode.h"
#include "game/screens/PlayFlowScreens.h"
#include "game/screens/ScreenContent.h"
#include "game/screens/StickerBookMode.h"
#include "game/screens/TitleMode.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/Window.h"
#include "scene/StrataExtensions.h"

#include <memory>

namespace Yardcrew
{

namespace
{

// Whether the current account chose English voices; English without an account or a choice.
bool AccountWantsEnglish()
{
    Strata::Account* account = Strata::GetAccountManager()->GetCurrentAccount();
    const bool english = true;
    return account == nullptr ? english : account->ReadValue(L"EnglishLanguage", english);
}

// The standard arrow becomes the game's own pointer picture, so that every screen that asks for the
// arrow draws it. Missing, the system's arrow stays.
void GiveThePlatformTheDefaultCursor()
{
    Strata::IPlatform* platform = Strata::GetPlatform();
    if (platform == nullptr)
        return;
    // Kept by "resources", which stays loaded as long as the game runs.
    const Strata::AutoResource<Strata::IImage> cursor(MiniGameContent::kDefaultCursor.name);
    const Strata::Constant<Strata::Vector2<int>> hotSpot(MiniGameContent::kDefaultCursorHotSpot.name);
    if (cursor.Get() == nullptr || !hotSpot.IsValid())
    {
        Strata::Log("The default cursor \"cursor_default\" or \"DefaultCursorRegPt\" is missing\n");
        return;
    }
    platform->SetCustomCursorImage(Strata::Cursor_Arrow, cursor.Get(), hotSpot.GetValue());
}

} // namespace

const Strata::sApplicationDescriptor& Application::GetDescriptor() const
{
    static const Strata::sApplicationDescriptor descriptor = []
    {
        Strata::sApplicationDescriptor d;
        // Company and product name the per-user folder: players' accounts live there.
        d.companyName = L"Strata";
        d.productName = L"Menagerie";
        d.copyright = L"Copyright \u00a9 2026 the Menagerie authors";
        d.userVersion = L"1.0";
        d.fullVersion = L"1.0.0.0";
        d.version[0] = 1;
        d.version[1] = 0;
        d.version[2] = 0;
        d.version[3] = 0;
        d.windowTitle = L"Menagerie";
        return d;
    }();
    return descriptor;
}

Strata::sWindowConfig Application::GetDefaultWindowConfig() const
{
    Strata::sWindowConfig config = BaseApplication::GetDefaultWindowConfig();
    if (Strata::Account* account = Strata::GetAccountManager()->GetCurrentAccount())
    {
        // Only 0 is windowed: any other stored value would open no window at all.
        config.mode = account->ReadValue(L"Strata::Window::Mode", config.mode) == 0 ? 0 : 1;
    }
    return config;
}

void Application::RegisterSingletons()
{
    Strata::CreateDefaultAudioPlatform();
}

void RegisterGameResourceFactories()
{
    Strata::ResourceManager* resources = Strata::GetResourceManager();
    InstallRegisteredGames(*resources, GetLevelManager());
    resources->AddResourceFactory(L"LevelProg", std::make_unique<LevelProgressionResourceFactory>().release());
}

std::vector<std::wstring> GetStartupManifests(bool english)
{
    std::vector<std::wstring> manifests = {L"GlobalConstants",
                                           L"LevelProgression",
                                           L"LevelProgressionPark",
                                           english ? L"AudioResources" : L"AudioResources_SP",
                                           L"AudioResources_General",
                                           L"LocalizedText",
                                           L"LocalizedImageResources",
                                           L"LocalizedImageResources_SP",
                                           L"StickerBook",
                                           L"TitleMainMenu",
                                           L"ProfileSelect",
                                           L"CreditsMode",
                                           L"DifficultyOptionsQuit",
                                           L"CutsceneMode",
                                           L"ForemanInstructionMode",
                                           L"FreePlaySelect",
                                           L"GameSelect"};
    // Then each game's own, in the order the games are registered.
    for (const sGameRegistration& game : GetRegisteredGames())
        manifests.emplace_back(game.manifest);
    return manifests;
}

std::unique_ptr<LoadingMode> MakeStartupLoadingMode()
{
    auto loading = std::make_unique<LoadingMode>(AccountWantsEnglish());
    for (const std::wstring& manifest : GetStartupManifests(AccountWantsEnglish()))
        loading->AddLoadingTask(std::make_unique<Strata::ResourceLoadTask>(manifest).release(), 1);
    return loading;
}

void RegisterFrontScreens()
{
    StoryScreenConstructors screens = GetLevelManager().getStoryScreens();
    screens.mainMenu = [] { return std::make_unique<MainMenuMode>(); };
    screens.stickerBook = [] { return std::make_unique<StickerBookMode>(); };
    GetLevelManager().setStoryScreenConstructors(std::move(screens));
}

void Application::Setup()
{
    Strata::SetupStrataExtensions();
    RegisterGames();
    RegisterGameResourceFactories();
    RegisterPlayFlowScreens(GetLevelManager());
    RegisterScreenContent();
    RegisterFrontScreens();
    StoryScreenConstructors screens = GetLevelManager().getStoryScreens();
    screens.cutscene = [](Strata::Label id) { return std::make_unique<CutsceneMode>(id); };
    GetLevelManager().setStoryScreenConstructors(std::move(screens));

    Strata::MainLoop::ChangeMode(MakeStartupLoadingMode().release());

    Strata::GetAccountManager()->RegisterAccountChangeHandler(this);
    OnAfterAccountChange();
}

void Application::Cleanup()
{
    OnBeforeAccountChange();
    Strata::GetAccountManager()->UnregisterAccountChangeHandler(this);
    // The game's channels go before the audio back end that made them.
    GetAudioManager()->releaseAll();
}

void Application::Update(float)
{
    GetAudioManager()->updateVocalAudioQueues();
}

void Application::OnBeforeAccountChange()
{
    Strata::Window::SaveAccountSettings();
    Strata::Audio::SaveAccountSettings();
}

void Application::OnAfterAccountChange()
{
    Strata::Window::LoadAccountSettings();
    Strata::Audio::LoadAccountSettings();
    // The buttons read the language afresh; the voices must follow them.
    LoadAccountLanguageVoices();
}

std::vector<std::wstring> GetLoadingScreenManifests(bool english)
{
    return {english ? L"Loading" : L"Loading_SP", L"resources"};
}

LoadingMode::LoadingMode(bool english) : Strata::LoadingMode(GetLoadingScreenManifests(english)[0].c_str())
{
    AddLoadingTask(std::make_unique<Strata::ResourceLoadTask>(GetLoadingScreenManifests(english)[1]).release(), 1);
}

void LoadingMode::OnAfterLoad()
{
    GiveThePlatformTheDefaultCursor();
    Strata::Window::SetCursor(Strata::Cursor_Arrow);
    Strata::MainLoop::ChangeMode(std::make_unique<TitleMode>().release()); // the main loop owns its modes
}

} // namespace Yardcrew
