#pragma once

#include "game/GameModeTypes.h"
#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// The difficulty choice: "Easy", "Medium" and "Hard" radio buttons (pictures of one, two and three
// stars), the current one checked, a big "PlayButton" and a "BackButton". A radio button sets the level
// manager's difficulty; Play then starts, once, the chosen game (free play) or the story's next step.
class DifficultySelectMode : public MenuScreen
{
public:
    // Free play: the game to start. GameModeType_Count: the story, whose next step starts.
    explicit DifficultySelectMode(GameModeType game = GameModeType_Count);

    // Instantiates "DifficultySelectLayout" and checks the level manager's difficulty; a missing
    // layout is logged and leaves the screen empty.
    void Setup() override;

    // Free play: the chosen game at a level of the current difficulty, as the only mode; a game with no
    // mode registered is logged and the screen stays. Story: the next step. Only the first start acts.
    // True when something was started.
    bool startGame();

    GameModeType getGame() const { return mGame; }
    bool hasStarted() const { return HasLeft(); }

    // The radio button names by difficulty.
    static const char* const kRadioNames[GameModeDifficulty_Count];
    static const sMenuScreen kScreen;

private:
    void ChooseDifficulty(int difficulty);

    GameModeType mGame;
};

} // namespace Yardcrew
