#include "game/screens/FreePlaySelectMode.h"

#include "core/Log.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/PlayFlowScreens.h"
#include "game/screens/ScreenSupport.h"
#include "scene/ButtonNode.h"
#include "scene/NodePath.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

namespace Yardcrew
{

namespace
{

const Strata::Label kRootName("FreePlaySelect");

} // namespace

GameModeType FreePlaySelectMode::gameTypeOfButton(Strata::Label buttonName)
{
    for (const LevelManager::GameTypeName& entry : LevelManager::kGameTypeNames)
        if (buttonName == Strata::Label(entry.name))
            return entry.type;
    return GameModeType_Count;
}

void FreePlaySelectMode::Setup()
{
    SceneApplicationMode::Setup();
    LevelManager& levels = GetLevelManager();
    levels.freePlay = true;
    Strata::SceneNode* root = InstantiateScreenLayout(*this, "FreePlaySelectLayout", "free-play chooser");
    if (root == nullptr)
        return;
    // A game not built yet stays on the board, greyed, rather than leading to a screen that starts
    // nothing.
    for (const LevelManager::GameTypeName& entry : LevelManager::kGameTypeNames)
    {
        const Strata::NodePathStep path[3] = {kRootName, entry.name, Strata::NodePathTerminator()};
        if (auto* button = dynamic_cast<Strata::ButtonNode*>(GetRootNode()->GetDescendent(path)))
            button->Enable(levels.hasGameModeConstructor(entry.type));
    }
}

void FreePlaySelectMode::Enter()
{
    SceneApplicationMode::Enter();
    mLeaving = false;
    GetAudioManager()->setMusicMode(MusicMode_GeneralUI, Strata::Label());
    const Strata::NodePathStep title[3] = {kRootName, "Title", Strata::NodePathTerminator()};
    ShowLocalizedImage(GetRootNode(), title, "FreePlayTitle");
    GetAudioManager()->playSpecificSoundVocal(Strata::Label("FreePlay_Choose"));
}

void FreePlaySelectMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    static const Strata::Label kBackButton("BackButton");
    const Strata::Label button = WidgetSenderName(*this, message, "ButtonClick");
    if (button.IsNull() || mLeaving)
        return;
    LevelManager& levels = GetLevelManager();
    if (button == kBackButton)
    {
        if (!levels.getStoryScreens().mainMenu)
        {
            Strata::Log("No main menu is registered\n");
            return;
        }
        mLeaving = true;
        levels.getModeQueue().unwindTo(levels.getStoryScreens().mainMenu());
        return;
    }
    const GameModeType game = gameTypeOfButton(button);
    if (game == GameModeType_Count)
        return;
    if (!levels.hasGameModeConstructor(game))
    {
        Strata::Internal::LogWrite("The game \"%s\" is not available yet\n", button.c_str());
        return;
    }
    // Until the difficulty screen above closes, a second click here must not stack another one.
    mLeaving = true;
    levels.getModeQueue().push(std::make_unique<DifficultySelectMode>(game));
}

} // namespace Yardcrew
