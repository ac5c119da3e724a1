#pragma once

#include "scene/SceneApplicationMode.h"

namespace Yardcrew
{

// "Do you want to stop?": a pop-up with a big tick ("YesButton") and cross ("NoButton"). In a game,
// Yes returns to the main menu; elsewhere Yes asks the application to quit. No closes the pop-up.
// Either answer acts once, so a double click never pops a second mode.
class QuitConfirmMode : public Strata::SceneApplicationMode
{
public:
    explicit QuitConfirmMode(bool inGame);

    // Instantiates "QuitConfirmLayout" (the in-game or the leave-the-game question); a missing layout
    // is logged and leaves the pop-up empty.
    void Setup() override;
    void Enter() override;
    bool IsOpaque() override { return false; }
    void ReceiveMessage(const Strata::ObjectMessage& message) override;

    bool isInGame() const { return mInGame; }
    bool hasAnswered() const { return mAnswered; }

private:
    bool mInGame;
    bool mAnswered = false;
};

} // namespace Yardcrew
