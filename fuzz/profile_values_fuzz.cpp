// Feeds arbitrary bytes to the game as the current account's file, then reads every profile value the
// game reads: the profile chosen, the stickers won (flags, count, list length), the place in the story,
// the language and the window mode. Whatever the values, the stickers stay within the list, a win gives
// one of its stickers or says the book is full, the story goes on from a place inside it and the window
// mode is one the platform can open.

#include "FuzzImages.h"
#include "FuzzSupport.h"

#include "core/FileSystem.h"
#include "core/Label.h"
#include "core/MemoryStream.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/ApplicationMode.h"
#include "framework/ResourceManager.h"
#include "game/GameApplication.h"
#include "game/LevelManager.h"
#include "game/LevelProgression.h"
#include "game/StickerManager.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/ScreenSupport.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

using namespace Strata;
using namespace Yardcrew;
using Strata::Fuzzing::Check;

namespace
{

constexpr int kStickers = 12;

const char kManifest[] = "<manifest>"
                         "<imagelist name=\"AllStickersList\"><image src=\"img0\"/><image src=\"img0\"/>"
                         "<image src=\"img0\"/><image src=\"img0\"/><image src=\"img0\"/><image src=\"img0\"/>"
                         "<image src=\"img0\"/><image src=\"img0\"/><image src=\"img0\"/><image src=\"img0\"/>"
                         "<image src=\"img0\"/><image src=\"img0\"/></imagelist>"
                         "<LevelProg name=\"Story\"><Cutscene cutsceneID=\"Intro\"/><Level gameType=\"ToolShed\"/>"
                         "<Video/><Level gameType=\"CountTheMaterials\"/><Cutscene cutsceneID=\"Finale\"/></LevelProg>"
                         "</manifest>";

int gStarted = 0;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fuzzing::MemoryFiles files;
    static Fuzzing::WritableMemoryPartition* const disk = []
    {
        files.Set(L"img0.gif", Fuzzing::SmallGif());
        ResourceManager* manager = Fuzzing::ImageResourceManager(files);
        manager->AddResourceFactory(L"LevelProg", new LevelProgressionResourceFactory());
        ReadOnlyMemoryStream manifest(L"Game.xml", kManifest, sizeof(kManifest) - 1);
        manager->LoadFromStream(&manifest, L"Game");
        auto* made = new Fuzzing::WritableMemoryPartition();
        (new FileSystem())->AddFileSystemPartition(FileSystemPartition_User, made);
        GetAccountManager();
        return made;
    }();
    static std::wstring accountFile = []
    {
        const FileAddress& file = GetAccountManager()->GetCurrentAccount()->GetFile();
        return std::wstring(file.GetName()) + file.GetExtension();
    }();

    disk->files[accountFile] = std::string(reinterpret_cast<const char*>(data), size);

    const int profile = CurrentProfile();
    Check(profile >= 0 && profile <= MyAccountMode::kProfileCount);

    StickerManager stickers;
    stickers.loadUnlockedStickerData();
    Check(stickers.getUnlockedBits().size() == kStickers);
    int unlocked = 0;
    for (const bool bit : stickers.getUnlockedBits())
        unlocked += bit ? 1 : 0;
    Check(stickers.getUnlockedCount() == unlocked);
    Check(stickers.isAllUnlocked() == (unlocked == kStickers));
    const int won = stickers.unlockRandomSticker();
    Check(won == -2 ? unlocked == kStickers : won >= 0 && won < kStickers);

    LevelManager levels;
    const auto started = [](std::unique_ptr<ApplicationMode>) { ++gStarted; };
    levels.setModeQueue({started, started, [] {}});
    StoryScreenConstructors screens;
    screens.mainMenu = [] { return std::unique_ptr<ApplicationMode>(); };
    screens.stickerBook = [] { return std::unique_ptr<ApplicationMode>(); };
    screens.cutscene = [](Label) { return std::unique_ptr<ApplicationMode>(); };
    levels.setStoryScreenConstructors(screens);
    levels.setGameModeConstructor(GameModeType_CountTheMaterials,
                                  [](Label) { return std::unique_ptr<ApplicationMode>(); });
    levels.setLevelProgression(Label("Story"));
    Check(levels.getProgressIndex() >= 0);
    gStarted = 0;
    levels.beginNextLevelProgressionMode();
    Check(gStarted >= 1);

    ProfileSpeaksEnglish();
    const Application application;
    const int mode = application.GetDefaultWindowConfig().mode;
    Check(mode == 0 || mode == 1);
    return 0;
}
