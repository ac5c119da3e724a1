#include "game/screens/PlayFlowScreens.h"

#include "game/LevelManager.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/StickerUnlockMode.h"

namespace Yardcrew
{

void RegisterPlayFlowScreens(LevelManager& levels)
{
    StoryScreenConstructors screens = levels.getStoryScreens();
    screens.stickerUnlock = [](int stickerIndex) { return std::make_unique<StickerUnlockMode>(stickerIndex); };
    screens.freePlaySelect = [] { return std::make_unique<FreePlaySelectMode>(); };
    screens.quitConfirm = [](bool inGame) { return std::make_unique<QuitConfirmMode>(inGame); };
    levels.setStoryScreenConstructors(std::move(screens));
}

} // namespace Yardcrew
