#include "game/MiniGameContent.h"

#include "game/AudioContent.h"
#include "game/GameRegistry.h"

namespace Yardcrew
{

void RegisterMiniGameBaseContent(const std::vector<sGameRegistration>& games)
{
    // Built once and never changed again, so the list's view of it stays valid.
    static std::vector<sContentName> names;
    static std::vector<const char*> described; // each game's entry of the spoken descriptions
    if (!names.empty())
        return;
    names = {MiniGameContent::kDefaultCursor, MiniGameContent::kDefaultCursorHotSpot,
             MiniGameContent::kRepeatedGameNumLoops};
    for (const sGameRegistration& game : games)
    {
        if (!game.makeMode)
            continue;
        for (const char* hint : {game.firstHint, game.laterHint})
            if (hint != nullptr)
                names.push_back({ContentKind_Voice, hint});
        if (game.music != nullptr)
            names.push_back({ContentKind_Sound, game.music});
        described.push_back(game.label);
    }
    names.push_back({ContentKind_Voice, AudioContent::kGameDescriptions, 0, kAnyContentCount, described});
    RegisterContentList({"MiniGameBase", names});
}

} // namespace Yardcrew
