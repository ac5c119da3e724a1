// Feeds arbitrary bytes to the story reader ("LevelProg") as a manifest, then walks every story it made
// from its first step to its end, with half of the games startable. Each step starts something (a game,
// a cut-scene, or the main menu and the sticker book at the end), so a child is never left on the screen
// that asked; the story ends within one step per entry; its place stays inside it. The job-order game's
// steps play the level they name through the game's own mode.

#include "FuzzSupport.h"

#include "core/Label.h"
#include "core/Log.h"
#include "core/MemoryStream.h"
#include "core/XMLReader.h"
#include "framework/ApplicationMode.h"
#include "framework/ResourceManager.h"
#include "game/LevelManager.h"
#include "game/LevelPlayer.h"
#include "game/LevelProgression.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <set>
#include <string>

using namespace Strata;
using namespace Yardcrew;
using Strata::Fuzzing::Check;

namespace
{

int gStarted = 0;
bool gEnded = false;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The job-order game is the one that plays the level a step names: it runs for real over the
    // committed data/, the others stand in. Made first, as it holds the engine's singletons.
    static GameTesting::LevelPlayer* const jobs = []
    {
        auto* made = new GameTesting::LevelPlayer(GameModeType_PlanAJob, STRATA_FUZZ_DATA_DIR);
        Check(made->IsLoaded());
        return made;
    }();
    static ResourceManager* const manager = []
    {
        ResourceManager* created = GetResourceManager();
        created->AddResourceFactory(L"LevelProg", new LevelProgressionResourceFactory());
        return created;
    }();
    static LevelManager* const levels = []
    {
        auto* made = new LevelManager();
        const auto started = [](std::unique_ptr<ApplicationMode>) { ++gStarted; };
        made->setModeQueue({started, started, [] {}});
        StoryScreenConstructors screens;
        screens.mainMenu = []
        {
            gEnded = true;
            return std::unique_ptr<ApplicationMode>();
        };
        screens.stickerBook = [] { return std::unique_ptr<ApplicationMode>(); };
        screens.cutscene = [](Label) { return std::unique_ptr<ApplicationMode>(); };
        made->setStoryScreenConstructors(screens);
        for (int type = 0; type < GameModeType_Count; type += 2)
            made->setGameModeConstructor(static_cast<GameModeType>(type),
                                         [](Label) { return std::unique_ptr<ApplicationMode>(); });
        made->setGameModeConstructor(GameModeType_PlanAJob,
                                     [](Label level)
                                     {
                                         std::string log;
                                         const Internal::ScopedLogCapture quiet(log);
                                         jobs->Run(level);
                                         return std::unique_ptr<ApplicationMode>();
                                     });
        return made;
    }();

    ReadOnlyMemoryStream stream(L"Story.xml", data, size);
    try
    {
        manager->LoadFromStream(&stream, L"Story");
    }
    catch (const std::exception&)
    {
    }
    for (const std::wstring& name : Fuzzing::NamesIn(data, size, 16))
    {
        levels->setLevelProgression(Label::FromString(name));
        const LevelProgressionData* story = levels->getLevelProgression();
        if (story == nullptr)
            continue;
        levels->resetLevelProgress();
        gEnded = false;
        const size_t steps = story->entries.size();
        for (size_t step = 0; step <= steps && !gEnded; ++step)
        {
            gStarted = 0;
            levels->beginNextLevelProgressionMode();
            Check(gStarted >= 1);
            Check(levels->getProgressIndex() >= 0 && static_cast<size_t>(levels->getProgressIndex()) <= steps + 1);
        }
        Check(gEnded);
    }
    levels->setLevelProgression(Label());
    manager->Unload(L"Story");
    return 0;
}
