#include "game/LevelManager.h"

#include "core/Log.h"
#include "core/Random.h"
#include "core/RuntimeError.h"
#include "framework/Account.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "framework/ResourceUtils.h"
#include "game/AccountKeys.h"
#include "game/GameRegistry.h"
#include "game/LevelProgression.h"

#include <algorithm>

namespace Yardcrew
{

namespace
{

constexpr const wchar_t* kProgressSuffix = L"_Progress";

} // namespace

const LevelManager::GameTypeNames LevelManager::kGameTypeNames;

std::vector<LevelManager::GameTypeName>::const_iterator LevelManager::GameTypeNames::begin() const
{
    return GetRegisteredGameTypeNames().begin();
}

std::vector<LevelManager::GameTypeName>::const_iterator LevelManager::GameTypeNames::end() const
{
    return GetRegisteredGameTypeNames().end();
}

size_t LevelManager::GameTypeNames::size() const
{
    return GetRegisteredGameTypeNames().size();
}

LevelManager::LevelManager()
{
    setModeQueue({});
}

LevelManager::~LevelManager() = default;

void LevelManager::addLevelForGameModeType(GameModeType type, Strata::Label levelID, GameModeDifficulty difficulty)
{
    if (difficulty < 0 || difficulty >= GameModeDifficulty_Count || type < 0 || type >= GameModeType_Count)
    {
        Strata::Internal::LogWrite("Level \"%s\" has game type %d and difficulty %d; it is not filed\n",
                                   levelID.c_str(), static_cast<int>(type), static_cast<int>(difficulty));
        return;
    }
    if (levelID.IsNull())
        return;
    std::lock_guard<std::mutex> lock(mLevelsMutex);
    std::vector<Strata::Label>& levels = mLevels[static_cast<size_t>(difficulty)][type];
    if (std::find(levels.begin(), levels.end(), levelID) == levels.end())
        levels.push_back(levelID);
}

Strata::Label LevelManager::getLevelForGameModeType(GameModeType type)
{
    if (type < 0 || type >= GameModeType_Count || difficulty < 0 || difficulty >= GameModeDifficulty_Count)
        return Strata::Label();
    std::lock_guard<std::mutex> lock(mLevelsMutex);
    const std::vector<Strata::Label>& levels = mLevels[static_cast<size_t>(difficulty)][type];
    if (levels.empty())
        return Strata::Label();

    // Draw among the levels other than the last one, so the draw always ends.
    std::vector<Strata::Label> choices;
    choices.reserve(levels.size());
    for (const Strata::Label& level : levels)
        if (level != mLastLevelID)
            choices.push_back(level);
    if (choices.empty())
        choices = levels;
    const int index = Strata::Random::GetIntRange(static_cast<int>(choices.size()) - 1);
    mLastLevelID = choices[static_cast<size_t>(std::clamp(index, 0, static_cast<int>(choices.size()) - 1))];
    return mLastLevelID;
}

void LevelManager::clearLevels()
{
    std::lock_guard<std::mutex> lock(mLevelsMutex);
    for (auto& byType : mLevels)
        byType.clear();
    mLastLevelID = Strata::Label();
}

bool LevelManager::reloadLevels(GameModeType type)
{
    const sGameRegistration* game = FindRegisteredGame(type);
    if (game == nullptr || game->manifest == nullptr)
    {
        Strata::Internal::LogWrite("No game of type %d is registered; no levels are read again\n",
                                   static_cast<int>(type));
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mLevelsMutex);
        for (auto& byType : mLevels)
            byType.erase(type);
    }
    // A level mended since must be drawable, and one broken since must not stay filed.
    try
    {
        Strata::ResourceUtils::Reload(game->manifest, nullptr, true);
    }
    catch (const Strata::RuntimeError& error)
    {
        Strata::Internal::LogWrite("%ls could not be read again: %s\n", game->manifest, error.what());
        return false;
    }
    if (Strata::GetResourceManager()->GetLoadCount(game->manifest) == 0)
    {
        Strata::Internal::LogWrite("%ls could not be read again: the file is missing\n", game->manifest);
        return false;
    }
    return true;
}

void LevelManager::setLevelProgression(Strata::Label name)
{
    const Strata::AutoResource<LevelProgressionData> story(name);
    mProgressionResource = story.Get() != nullptr ? story.GetDescriptor() : nullptr;
    mProgression = story.Get();
    loadLevelProgressionDataFromAccount();
}

void LevelManager::loadLevelProgressionDataFromAccount()
{
    Strata::Account* account = GetCurrentProfileAccount();
    const int stored = account != nullptr ? account->ReadValue(MakeProfileKey(*account, kProgressSuffix), 0) : 0;
    mProgressIndex = std::max(stored, 0);
}

void LevelManager::resetLevelProgress()
{
    mProgressIndex = 0;
    storeProgress(0);
}

void LevelManager::storeProgress(int32_t index)
{
    Strata::Account* account = GetCurrentProfileAccount();
    if (account == nullptr)
        return;
    if (!account->WriteValue(MakeProfileKey(*account, kProgressSuffix), static_cast<int>(index)))
        Strata::Log("Could not store the story position in the profile\n");
}

void LevelManager::finishStory()
{
    if (mScreens.mainMenu)
        mModeQueue.unwindTo(mScreens.mainMenu());
    if (mScreens.stickerBook)
        mModeQueue.push(mScreens.stickerBook());
    mProgressIndex = 0;
    storeProgress(0);
}

void LevelManager::openCutscene(Strata::Label cutsceneID)
{
    if (mScreens.cutscene)
        mModeQueue.unwindTo(mScreens.cutscene(cutsceneID));
    else
        Strata::Internal::LogWrite("No cut-scene screen is registered for \"%s\"\n", cutsceneID.c_str());
}

void LevelManager::beginNextLevelProgressionMode()
{
    if (mProgression == nullptr)
    {
        Strata::Log("No story is selected; returning to the main menu\n");
        if (mScreens.mainMenu)
            mModeQueue.unwindTo(mScreens.mainMenu());
        return;
    }
    const std::vector<LevelProgressionEntry>& steps = mProgression->entries;
    if (mProgressIndex < 0 || static_cast<size_t>(mProgressIndex) >= steps.size())
    {
        finishStory();
        return;
    }

    const LevelProgressionEntry& step = steps[static_cast<size_t>(mProgressIndex)];
    switch (step.type)
    {
    case LevelProgressionEntry_Level:
        if (!pushGameModeOfType(step.name, step.levelID))
        {
            // A game that cannot be started is passed over, so the child is never left on the screen
            // that asked for it.
            ++mProgressIndex;
            beginNextLevelProgressionMode();
            return;
        }
        break;
    case LevelProgressionEntry_Cutscene:
        openCutscene(step.name);
        break;
    case LevelProgressionEntry_Video:
    {
        // Videos are not played: the step after it starts in its place (a game without its level).
        ++mProgressIndex;
        if (static_cast<size_t>(mProgressIndex) >= steps.size())
        {
            finishStory();
            return;
        }
        const LevelProgressionEntry& next = steps[static_cast<size_t>(mProgressIndex)];
        if (next.type == LevelProgressionEntry_Video)
        {
            // Two videos in a row: the second stands in for the step after it in turn.
            beginNextLevelProgressionMode();
            return;
        }
        if (next.type == LevelProgressionEntry_Level && !pushGameModeOfType(next.name, Strata::Label()))
        {
            // Passed over as a game step is, or the child stays on the screen that asked.
            ++mProgressIndex;
            beginNextLevelProgressionMode();
            return;
        }
        if (next.type == LevelProgressionEntry_Cutscene)
            openCutscene(next.name);
        break;
    }
    default:
        break;
    }
    // The stored position is the step in progress, so a player who leaves replays it.
    storeProgress(mProgressIndex);
    ++mProgressIndex;
}

bool LevelManager::pushGameModeOfType(Strata::Label gameType, Strata::Label levelID)
{
    for (const GameTypeName& entry : kGameTypeNames)
    {
        if (gameType != Strata::Label(entry.name))
            continue;
        const GameModeConstructor& constructor = mGameModes[static_cast<size_t>(entry.type)];
        if (!constructor)
        {
            Strata::Internal::LogWrite("No mode is registered for the game type \"%s\"\n", entry.name);
            return false;
        }
        mModeQueue.unwindTo(constructor(levelID));
        return true;
    }
    Strata::Internal::LogWrite("No game type is called \"%s\"\n", gameType.c_str());
    return false;
}

void LevelManager::setGameModeConstructor(GameModeType type, GameModeConstructor constructor)
{
    if (type >= 0 && type < GameModeType_Count)
        mGameModes[static_cast<size_t>(type)] = std::move(constructor);
}

void LevelManager::setStoryScreenConstructors(StoryScreenConstructors screens)
{
    mScreens = std::move(screens);
}

void LevelManager::setModeQueue(ModeQueue queue)
{
    mModeQueue = std::move(queue);
    if (!mModeQueue.unwindTo)
        mModeQueue.unwindTo = [](std::unique_ptr<Strata::ApplicationMode> mode)
        { Strata::MainLoop::UnwindToMode(mode.release()); };
    if (!mModeQueue.push)
        mModeQueue.push = [](std::unique_ptr<Strata::ApplicationMode> mode)
        { Strata::MainLoop::PushMode(mode.release()); };
    if (!mModeQueue.pop)
        mModeQueue.pop = [] { Strata::MainLoop::PopMode(); };
}

LevelManager& GetLevelManager()
{
    static LevelManager manager;
    return manager;
}

} // namespace Yardcrew
