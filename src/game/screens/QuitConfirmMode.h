#pragma once

#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// "Do you want to stop?": a pop-up with a big tick ("YesButton") and cross ("NoButton"). In a game,
// Yes returns to the main menu; elsewhere Yes asks the application to quit. No closes the pop-up.
// Either answer acts once, so a double click never pops a second mode.
class QuitConfirmMode : public MenuScreen
{
public:
    explicit QuitConfirmMode(bool inGame);

    // Instantiates "QuitConfirmLayout" and shows the in-game or the leave-the-game question; a missing
    // layout is logged and leaves the pop-up empty.
    void Setup() override;
    // Asks the question aloud.
    void Enter() override;
    bool IsOpaque() override { return false; }

    bool isInGame() const { return mInGame; }
    bool hasAnswered() const { return HasLeft(); }

    static const sMenuScreen kScreen;

private:
    void AnswerYes();

    bool mInGame;
};

} // namespace Yardcrew
