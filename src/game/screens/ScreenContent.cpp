#include "game/screens/ScreenContent.h"

#include "game/AudioContent.h"
#include "game/ContentNames.h"
#include "game/ForemanInstructionMode.h"
#include "game/screens/AccountConfirmMode.h"
#include "game/screens/CreditsMode.h"
#include "game/screens/CutsceneMode.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MenuScreen.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/MyOptionsMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/StickerBookContent.h"
#include "game/screens/StickerBookMode.h"
#include "game/screens/StickerUnlockMode.h"
#include "game/screens/TitleMode.h"

#include <vector>

namespace Yardcrew
{

void RegisterScreenContent()
{
    struct sScreenEntry
    {
        const char* owner;
        const sMenuScreen& screen;
    };
    static const sScreenEntry kScreens[] = {
        {"TitleMode", TitleMode::kScreen},
        {"MainMenuMode", MainMenuMode::kScreen},
        {"MyAccountMode", MyAccountMode::kScreen},
        {"AccountConfirmMode", AccountConfirmMode::kScreen},
        {"MyOptionsMode", MyOptionsMode::kScreen},
        {"CreditsMode", CreditsMode::kScreen},
        {"FreePlaySelectMode", FreePlaySelectMode::kScreen},
        {"DifficultySelectMode", DifficultySelectMode::kScreen},
        {"QuitConfirmMode", QuitConfirmMode::kScreen},
        {"StickerUnlockMode", StickerUnlockMode::kScreen},
        {"StickerBookMode", StickerBookMode::kScreen},
        {"CutsceneMode", CutsceneMode::kScreen},
        {"ForemanInstructionMode", ForemanInstructionMode::kScreen},
    };
    // The registry keeps spans: the lists live as long as the program.
    static const std::vector<std::vector<sContentName>> kLists = []
    {
        std::vector<std::vector<sContentName>> lists;
        for (const sScreenEntry& entry : kScreens)
            lists.push_back(ScreenContentNames(entry.screen));
        return lists;
    }();
    for (size_t index = 0; index < kLists.size(); ++index)
        RegisterContentList({kScreens[index].owner, kLists[index]});
    // The music and answers of every screen and game, spoken through the audio manager.
    RegisterContentList({"AudioManager", AudioContent::List()});
    RegisterContentList({"StickerManager", std::span(&StickerBookContent::kStickers, 1)});
}

} // namespace Yardcrew
