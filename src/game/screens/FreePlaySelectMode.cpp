#include "game/screens/FreePlaySelectMode.h"

#include "core/Log.h"
#include "game/AudioManager.h"
#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/ScreenSupport.h"
#include "scene/ButtonNode.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {PictureWords("FreePlayTitle", "Title")};

} // namespace

const sMenuScreen FreePlaySelectMode::kScreen{"free-play chooser", "FreePlaySelectLayout", kWords, MusicMode_GeneralUI,
                                              "FreePlay_Choose"};

GameModeType FreePlaySelectMode::gameTypeOfButton(Strata::Label buttonName)
{
    const sGameRegistration* game = FindRegisteredGame(buttonName);
    return game != nullptr ? game->type : GameModeType_Count;
}

FreePlaySelectMode::FreePlaySelectMode() : MenuScreen(kScreen)
{
    OnButton("BackButton", [this] { GoBack(); });
    for (const sGameRegistration& game : GetRegisteredGames())
        OnButton(game.label, [this, type = game.type, label = game.label] { ChooseGame(type, label); });
}

void FreePlaySelectMode::Setup()
{
    LevelManager& levels = GetLevelManager();
    levels.freePlay = true;
    MenuScreen::Setup();
    // A game without a registered mode stays on the board, greyed, rather than leading to a screen that
    // starts nothing.
    for (const sGameRegistration& game : GetRegisteredGames())
        if (auto* button = ScreenChild<Strata::ButtonNode>(Screen(), game.label))
            button->Enable(levels.hasGameModeConstructor(game.type));
}

void FreePlaySelectMode::GoBack()
{
    const LevelManager& levels = GetLevelManager();
    if (!levels.getStoryScreens().mainMenu)
        Strata::Log("No main menu is registered\n");
    else
        UnwindTo(levels.getStoryScreens().mainMenu());
}

void FreePlaySelectMode::ChooseGame(GameModeType game, const char* name)
{
    if (!GetLevelManager().hasGameModeConstructor(game))
    {
        Strata::Internal::LogWrite("The game \"%s\" is not available yet\n", name);
        return;
    }
    // Until the difficulty screen above closes, a second click here must not stack another one.
    PushOver(std::make_unique<DifficultySelectMode>(game));
}

} // namespace Yardcrew
