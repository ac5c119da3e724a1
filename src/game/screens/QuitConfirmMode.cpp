#include "game/screens/QuitConfirmMode.h"

#include "core/Log.h"
#include "framework/MainLoop.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/screens/ScreenSupport.h"
#include "scene/SceneNode.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {PictureWords("QuitQuestionInGame", "InGameQuestion"),
                                   PictureWords("QuitQuestion", "LeaveQuestion")};
constexpr sContentName kAskInGame{ContentKind_Voice, "Quit_AskInGame"};
constexpr sContentName kAsk{ContentKind_Voice, "Quit_Ask"};
constexpr sContentName kQuestions[] = {kAskInGame, kAsk};

} // namespace

const sMenuScreen QuitConfirmMode::kScreen{"quit confirmation", "QuitConfirmLayout", kWords, {}, nullptr, kQuestions};

QuitConfirmMode::QuitConfirmMode(bool inGame) : MenuScreen(kScreen), mInGame(inGame)
{
    OnButton("YesButton", [this] { AnswerYes(); });
    OnButton("NoButton",
             [this]
             {
                 GetAudioManager()->clearVocalAudioQueues();
                 Close();
             });
}

void QuitConfirmMode::Setup()
{
    MenuScreen::Setup();
    if (Strata::SceneNode* question = ScreenChild<Strata::SceneNode>(Screen(), "InGameQuestion"))
        question->LocalSetVisible(mInGame);
    if (Strata::SceneNode* question = ScreenChild<Strata::SceneNode>(Screen(), "LeaveQuestion"))
        question->LocalSetVisible(!mInGame);
}

void QuitConfirmMode::Enter()
{
    MenuScreen::Enter();
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(mInGame ? kAskInGame.name : kAsk.name));
}

void QuitConfirmMode::AnswerYes()
{
    GetAudioManager()->clearVocalAudioQueues();
    const LevelManager& levels = GetLevelManager();
    if (!mInGame)
    {
        Leave();
        Strata::MainLoop::RequestQuit();
    }
    else if (levels.getStoryScreens().mainMenu)
        UnwindTo(levels.getStoryScreens().mainMenu());
    else
    {
        Strata::Log("No main menu is registered; closing the question\n");
        Close();
    }
}

} // namespace Yardcrew
