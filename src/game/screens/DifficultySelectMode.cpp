#include "game/screens/DifficultySelectMode.h"

#include "core/Log.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/screens/PlayFlowScreens.h"
#include "game/screens/ScreenSupport.h"
#include "scene/NodePath.h"
#include "scene/RadioButtonNode.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"

#include <string>

namespace Yardcrew
{

namespace
{

const Strata::Label kRootName("DifficultySelect");

} // namespace

const char* const DifficultySelectMode::kRadioNames[GameModeDifficulty_Count] = {"Easy", "Medium", "Hard"};

DifficultySelectMode::DifficultySelectMode(GameModeType game) : mGame(game)
{
}

void DifficultySelectMode::Setup()
{
    SceneApplicationMode::Setup();
    if (InstantiateScreenLayout(*this, "DifficultySelectLayout", "difficulty screen") == nullptr)
        return;
    showDifficulty();
}

void DifficultySelectMode::Enter()
{
    SceneApplicationMode::Enter();
    GetAudioManager()->setMusicMode(MusicMode_GeneralUI, Strata::Label());
    const Strata::NodePathStep title[3] = {kRootName, "Title", Strata::NodePathTerminator()};
    const Strata::NodePathStep play[3] = {kRootName, "PlayButton", Strata::NodePathTerminator()};
    ShowLocalizedImage(GetRootNode(), title, "DifficultyTitle");
    ShowLocalizedImage(GetRootNode(), play, "Button_Play");
    GetAudioManager()->playSpecificSoundVocal(Strata::Label("Difficulty_Choose"));
}

void DifficultySelectMode::showDifficulty()
{
    const GameModeDifficulty current = GetLevelManager().difficulty;
    for (int index = 0; index < GameModeDifficulty_Count; ++index)
    {
        const Strata::NodePathStep path[3] = {kRootName, kRadioNames[index], Strata::NodePathTerminator()};
        if (auto* radio = dynamic_cast<Strata::RadioButtonNode*>(GetRootNode()->GetDescendent(path)))
            if (index == current)
                radio->SetCheck(true);
    }
}

void DifficultySelectMode::ReceiveMessage(const Strata::ObjectMessage& message)
{
    static const Strata::Label kButtonClick("ButtonClick");
    static const Strata::Label kRadioButtonClick("RadioButtonClick");
    static const Strata::Label kPlayButton("PlayButton");
    static const Strata::Label kBackButton("BackButton");
    const Strata::Object* sender = GetObject(message.GetSender());
    if (sender == nullptr || mStarted)
        return;
    LevelManager& levels = GetLevelManager();
    if (message.GetName() == kRadioButtonClick)
    {
        for (int index = 0; index < GameModeDifficulty_Count; ++index)
        {
            if (sender->GetName() != Strata::Label(kRadioNames[index]))
                continue;
            levels.difficulty = static_cast<GameModeDifficulty>(index);
            GetAudioManager()->playSpecificSoundVocal(
                Strata::Label((std::string("DifficultyWord_") + kRadioNames[index]).c_str()));
        }
        return;
    }
    if (message.GetName() != kButtonClick)
        return;
    if (sender->GetName() == kPlayButton)
        startGame();
    else if (sender->GetName() == kBackButton)
    {
        mStarted = true;
        levels.getModeQueue().pop();
    }
}

bool DifficultySelectMode::startGame()
{
    if (mStarted)
        return false;
    LevelManager& levels = GetLevelManager();
    if (mGame == GameModeType_Count)
    {
        mStarted = true;
        return mStoryStep.beginNextStep(levels);
    }
    if (!levels.hasGameModeConstructor(mGame))
    {
        // The chooser greys such games out; one reached anyway leaves the child here to go back.
        Strata::Internal::LogWrite("No mode is registered for the game type %d\n", static_cast<int>(mGame));
        return false;
    }
    for (const LevelManager::GameTypeName& entry : LevelManager::kGameTypeNames)
    {
        if (entry.type != mGame)
            continue;
        mStarted = true;
        levels.pushGameModeOfType(Strata::Label(entry.name), levels.getLevelForGameModeType(mGame));
        return true;
    }
    return false;
}

} // namespace Yardcrew
