#include "game/screens/DifficultySelectMode.h"

#include "core/Log.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/screens/ScreenSupport.h"
#include "scene/RadioButtonNode.h"

namespace Yardcrew
{

namespace
{

constexpr sScreenWords kWords[] = {PictureWords("DifficultyTitle", "Title"), ButtonWords("PlayButton", "Button_Play")};
// Said when the radio button of that difficulty is chosen.
constexpr sContentName kDifficultyWords[GameModeDifficulty_Count] = {{ContentKind_Voice, "DifficultyWord_Easy"},
                                                                     {ContentKind_Voice, "DifficultyWord_Medium"},
                                                                     {ContentKind_Voice, "DifficultyWord_Hard"}};

} // namespace

const char* const DifficultySelectMode::kRadioNames[GameModeDifficulty_Count] = {"Easy", "Medium", "Hard"};
const sMenuScreen DifficultySelectMode::kScreen{"difficulty screen", "DifficultySelectLayout", kWords,
                                                MusicMode_GeneralUI, "Difficulty_Choose",      kDifficultyWords};

DifficultySelectMode::DifficultySelectMode(GameModeType game) : MenuScreen(kScreen), mGame(game)
{
    for (int index = 0; index < GameModeDifficulty_Count; ++index)
        OnWidget(
            "RadioButtonClick", kRadioNames[index], [this, index] { ChooseDifficulty(index); });
    OnButton(
        "PlayButton", [this] { startGame(); });
    OnButton("BackButton", [this] { Close(); });
}

void DifficultySelectMode::Setup()
{
    MenuScreen::Setup();
    const int current = GetLevelManager().difficulty;
    if (current < 0 || current >= GameModeDifficulty_Count)
        return;
    if (auto* radio = ScreenChild<Strata::RadioButtonNode>(Screen(), kRadioNames[current]))
        radio->SetCheck(true);
}

void DifficultySelectMode::ChooseDifficulty(int difficulty)
{
    GetLevelManager().difficulty = static_cast<GameModeDifficulty>(difficulty);
    GetAudioManager()->playSpecificSoundVocal(Strata::Label(kDifficultyWords[difficulty].name));
}

bool DifficultySelectMode::startGame()
{
    if (HasLeft())
        return false;
    LevelManager& levels = GetLevelManager();
    if (mGame == GameModeType_Count)
        return BeginNextStep();
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
        Leave();
        // The game draws its level at the chosen difficulty; only a story step names one.
        levels.pushGameModeOfType(Strata::Label(entry.name), Strata::Label());
        return true;
    }
    return false;
}

} // namespace Yardcrew
