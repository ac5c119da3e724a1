#pragma once

#include "core/Label.h"
#include "game/GameModeTypes.h"
#include "game/StoryStepGuard.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

namespace Strata
{
class ApplicationMode;
class IResourceDescriptor;
} // namespace Strata

namespace Yardcrew
{

struct LevelProgressionData;

// Makes a mini-game's mode for a story step; only the plan-a-job game uses the level ID.
using GameModeConstructor = std::function<std::unique_ptr<Strata::ApplicationMode>(Strata::Label levelID)>;

// The constructor of a mini-game mode with the arguments the story passes: the level ID to a mode made
// from a Label, (true, -1) to a mode made from a flag and a loop count, nothing otherwise.
template <class Mode>
GameModeConstructor MakeGameModeConstructor()
{
    return [](Strata::Label levelID) -> std::unique_ptr<Strata::ApplicationMode>
    {
        if constexpr (std::is_constructible_v<Mode, Strata::Label>)
            return std::make_unique<Mode>(levelID);
        else if constexpr (std::is_constructible_v<Mode, bool, int>)
            return std::make_unique<Mode>(true, -1);
        else
            return std::make_unique<Mode>();
    };
}

// The screens the story opens besides its games.
struct StoryScreenConstructors
{
    std::function<std::unique_ptr<Strata::ApplicationMode>()> mainMenu;
    std::function<std::unique_ptr<Strata::ApplicationMode>()> stickerBook;
    std::function<std::unique_ptr<Strata::ApplicationMode>(Strata::Label cutsceneID)> cutscene;
    // The end of a game: the reward for the sticker just unlocked (-1: the book is complete) and the
    // free-play chooser; a game's Quit button asks for the quit confirmation (in-game true).
    std::function<std::unique_ptr<Strata::ApplicationMode>(int stickerIndex)> stickerUnlock;
    std::function<std::unique_ptr<Strata::ApplicationMode>()> freePlaySelect;
    std::function<std::unique_ptr<Strata::ApplicationMode>(bool inGame)> quitConfirm;
};

// Where new modes go; by default the main loop's queue, which then owns them.
struct ModeQueue
{
    std::function<void(std::unique_ptr<Strata::ApplicationMode>)> unwindTo;
    std::function<void(std::unique_ptr<Strata::ApplicationMode>)> push;
    std::function<void()> pop;
};

// The catalogue of levels per mini-game and difficulty, the story with the player's position in it
// (stored in the profile under "<AccountID>_Progress"), and the player's choice of difficulty and of
// story or free play. Levels are filed from the resource loader thread; everything else runs on the
// main thread.
class LevelManager
{
public:
    // The game-type names of the story, matched without regard to case.
    struct GameTypeName
    {
        const char* name;
        GameModeType type;
    };
    // A view of the registered games' story names (game/GameRegistry.h), in registration order.
    struct GameTypeNames
    {
        std::vector<GameTypeName>::const_iterator begin() const;
        std::vector<GameTypeName>::const_iterator end() const;
        size_t size() const;
    };
    static const GameTypeNames kGameTypeNames;

    LevelManager();
    ~LevelManager();
    LevelManager(const LevelManager&) = delete;
    LevelManager& operator=(const LevelManager&) = delete;

    // Files a level once per type and difficulty; a level ID already filed there, a null ID, or a type
    // or difficulty out of range is not filed (the last two with a log line).
    void addLevelForGameModeType(GameModeType type, Strata::Label levelID, GameModeDifficulty difficulty);
    // A random level of the type at the current difficulty, never the level drawn last when another
    // one is filed; the null label when none is filed (the game then shows its missing-level notice).
    Strata::Label getLevelForGameModeType(GameModeType type);
    // Forgets every filed level, before the level manifests are read again.
    void clearLevels();
    // Forgets the levels filed for the game and reads its registered manifest again from its file,
    // which files them anew. False, with a log line, when the game is not registered or the manifest
    // cannot be read (it then stays unloaded, so the game finds no level).
    bool reloadLevels(GameModeType type);

    // Makes the "LevelProg" resource of that name the story (none when it does not exist) and reads
    // the profile's position in it.
    void setLevelProgression(Strata::Label name);
    // Position = the profile's stored value; 0 when absent, negative or there is no profile.
    void loadLevelProgressionDataFromAccount();
    // Position 0, stored.
    void resetLevelProgress();
    // Starts the story step at the position and stores that position; once the story is complete,
    // shows the main menu with the sticker book above it and stores 0. A game step whose mode cannot be
    // made is logged and passed over. With no story set it returns to the main menu. Callers use a
    // StoryStepGuard so that one step is never started twice.
    void beginNextLevelProgressionMode();
    // Starts the mini-game of that game-type name as the only mode; false (and a log line) when the name
    // is unknown or no mode is registered for it.
    bool pushGameModeOfType(Strata::Label gameType, Strata::Label levelID);

    // The mini-games and screens register how they are made; a story step whose mode is not registered
    // is logged and passed over.
    void setGameModeConstructor(GameModeType type, GameModeConstructor constructor);
    // True when a mode is registered for the type (screens grey out a game without one).
    bool hasGameModeConstructor(GameModeType type) const
    {
        return type >= 0 && type < GameModeType_Count && static_cast<bool>(mGameModes[static_cast<size_t>(type)]);
    }
    void setStoryScreenConstructors(StoryScreenConstructors screens);
    // Members left empty go to the main loop's queue.
    void setModeQueue(ModeQueue queue);
    const StoryScreenConstructors& getStoryScreens() const { return mScreens; }
    const ModeQueue& getModeQueue() const { return mModeQueue; }

    int32_t getProgressIndex() const { return mProgressIndex; }
    const LevelProgressionData* getLevelProgression() const { return mProgression; }

    // Read and set by the screens: the difficulty levels are drawn at, and free play (true) or story.
    GameModeDifficulty difficulty = GameModeDifficulty_Medium;
    bool freePlay = true;

private:
    void finishStory();
    void openCutscene(Strata::Label cutsceneID);
    void storeProgress(int32_t index);

    std::mutex mLevelsMutex;
    std::array<std::map<GameModeType, std::vector<Strata::Label>>, GameModeDifficulty_Count> mLevels;
    Strata::Label mLastLevelID;

    // Kept alive by the handle even when its manifest is unloaded.
    std::shared_ptr<Strata::IResourceDescriptor> mProgressionResource;
    const LevelProgressionData* mProgression = nullptr;
    int32_t mProgressIndex = 0;

    std::array<GameModeConstructor, GameModeType_Count> mGameModes;
    StoryScreenConstructors mScreens;
    ModeQueue mModeQueue;
};

LevelManager& GetLevelManager();

} // namespace Yardcrew
