#pragma once

#include "game/screens/MenuScreen.h"

namespace Yardcrew
{

// The reward shown over a finished mini-game: the sticker just unlocked, big in its frame, with a
// cheer (or, for -1, the whole book complete). After a few seconds, or when the child clicks "OkButton",
// it moves the player on once: the story's next step, or back to the free-play chooser.
class StickerUnlockMode : public MenuScreen
{
public:
    // How long the reward stays before it moves on by itself.
    static constexpr float kShowSeconds = 5.0f;

    explicit StickerUnlockMode(int stickerIndex);

    // Instantiates "StickerUnlockLayout" and shows the sticker (or the book-complete picture); a
    // missing layout or sticker image is logged and the screen still moves on.
    void Setup() override;
    // Sets the reward music, speaks the cheer and starts the timer.
    void Enter() override;
    void Destroy() override;
    bool IsOpaque() override { return false; }

    // The story's next step when not in free play, else unwinds to a new free-play chooser. Only the
    // first call acts, whether it comes from the timer or a click.
    void continueToNextMode();

    int getStickerIndex() const { return mStickerIndex; }
    bool hasMovedOn() const { return HasLeft(); }

    static const sMenuScreen kScreen;

private:
    int mStickerIndex;
};

} // namespace Yardcrew
