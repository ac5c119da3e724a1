// A long session of the real game on an X server of its own, the software canvas and OpenAL Soft's null
// device, played by a seeded random player: clicks, drags and keys, most of them on the nodes of the top
// screen that take input, fewer on the nodes clicked least, and some of them on the way to a registered
// game or difficulty not played yet. The games come from the registry, so a game that registers is
// played with no change here.
//
//   MENAGERIE_LONG_RUN_SEED=<n>     replays the session of that seed (printed at the start)
//   MENAGERIE_LONG_RUN_SECONDS=<n>  plays for that many seconds; without it the run ends once every
//                                   built game was played at every difficulty, within a few minutes
//
// A watchdog thread aborts with the seed when no frame has been drawn for a while; a screen that stays on
// top for a minute fails the run and the player unwinds to the main menu to go on. Both watch the wall
// clock: the loading threads do not follow the test's.

#include "game/ContentNames.h"
#include "game/GameOnXServerFixture.h"
#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/YardcrewGameMode.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/TitleMode.h"

#include "core/MemoryStream.h"
#include "core/XMLError.h"
#include "core/XMLReader.h"
#include "framework/FrameHooks.h"
#include "framework/MainLoop.h"
#include "platform/linux/FrameViewport.h"
#include "scene/RadioButtonNode.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneNode.h"

#include <SDL.h>
#include <cxxabi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace Yardcrew;
using namespace Strata;
using namespace std::chrono_literals;

namespace
{

constexpr auto kBoundedLeast = 60s;
constexpr auto kBoundedMost = 240s;
constexpr auto kNoFrameLimit = 20s;
// Start-up under the sanitizers reads every manifest before the first frame.
constexpr auto kFirstFrameLimit = 90s;
constexpr auto kStuckScreen = 60s;

std::atomic<uint64_t> gFramesDrawn{0};
void (*gDrawFrame)(const std::function<void()>&, bool) = nullptr;

void CountingDrawFrame(const std::function<void()>& draw, bool force)
{
    gDrawFrame(draw, force);
    ++gFramesDrawn;
}

std::string TypeName(const void* object, const std::type_info& type)
{
    if (object == nullptr)
        return "(none)";
    int status = 0;
    char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled != nullptr ? demangled : type.name();
    std::free(demangled);
    const size_t scope = name.rfind("::");
    return scope == std::string::npos ? name : name.substr(scope + 2);
}

template <class Mode>
Mode* OnStack()
{
    for (int n = 0; ApplicationMode* mode = MainLoop::GetTopMostMode(n); ++n)
        if (auto* found = dynamic_cast<Mode*>(mode))
            return found;
    return nullptr;
}

void Collect(SceneNode* node, std::vector<SceneNode*>& into)
{
    if (node == nullptr || !node->LocalIsVisible())
        return;
    if (node->hitTest && node->GlobalIsVisible())
    {
        const Rect<float>& bounds = node->GlobalGetBounds();
        if (bounds.width >= 1.0f && bounds.height >= 1.0f)
            into.push_back(node);
    }
    for (SceneNode* child : node->GetChildren())
        Collect(child, into);
}

SceneNode* FindNamed(SceneNode* node, Label name)
{
    if (node == nullptr || name.IsNull())
        return nullptr;
    if (node->GetNodeName() == name)
        return node;
    for (SceneNode* child : node->GetChildren())
        if (SceneNode* found = FindNamed(child, name))
            return found;
    return nullptr;
}

unsigned SeedFromEnvironment()
{
    if (const char* given = std::getenv("MENAGERIE_LONG_RUN_SEED"); given != nullptr && given[0] != '\0')
        return static_cast<unsigned>(std::strtoul(given, nullptr, 10));
    return std::random_device()();
}

// Every *.act and *.xml file under the folder read to its end by the engine's XML reader; the problems
// found, one a line.
std::string MalformedProfiles(const std::filesystem::path& folder, int* read)
{
    std::string problems;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    {
        const std::string extension = entry.path().extension().string();
        if (extension == ".bad")
            problems += entry.path().string() + " was set aside as damaged\n";
        if (!entry.is_regular_file() || (extension != ".act" && extension != ".xml"))
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        ReadOnlyMemoryStream stream(L"profile", bytes.data(), bytes.size());
        try
        {
            std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream);
            int elements = 0;
            while (reader != nullptr && !reader->IsEOF())
                elements += reader->ReadElement() != nullptr ? 1 : 0;
            if (reader == nullptr || elements == 0)
                problems += entry.path().string() + " holds no element\n";
            ++*read;
        }
        catch (const XMLError& error)
        {
            problems += entry.path().string() + ": " + error.what() + "\n";
        }
    }
    return problems;
}

class LongRunTest : public GameOnXServerFixture
{
protected:
    void SetUp() override
    {
        mSeed = SeedFromEnvironment();
        mRandom.seed(mSeed);
        if (const char* seconds = std::getenv("MENAGERIE_LONG_RUN_SECONDS"); seconds != nullptr && seconds[0] != '\0')
            mFixedLength = std::chrono::seconds(std::strtol(seconds, nullptr, 10));
        std::printf("long run seed %u (replay: MENAGERIE_LONG_RUN_SEED=%u)\n", mSeed, mSeed);
        std::fflush(stdout);
        for (const sGameRegistration& game : GetRegisteredGames())
            (game.makeMode ? mBuilt : mNotBuilt).push_back(game.label);
        StartGame("menagerie_long_run", mSeed);
    }

    void TearDown() override
    {
        StopWatchdog();
        GameOnXServerFixture::TearDown();
    }

    void StartWatchdog()
    {
        mWatchdog = std::thread(
            [this]
            {
                std::unique_lock<std::mutex> lock(mMutex);
                uint64_t seen = gFramesDrawn;
                auto since = std::chrono::steady_clock::now();
                while (!mStopping)
                {
                    mWake.wait_for(lock, 250ms);
                    const auto now = std::chrono::steady_clock::now();
                    if (gFramesDrawn != seen)
                    {
                        seen = gFramesDrawn;
                        since = now;
                    }
                    else if (now - since > (seen == 0 ? kFirstFrameLimit : kNoFrameLimit))
                    {
                        std::fprintf(stderr, "no frame drawn for %lld s on the screen %s: the game hangs (seed %u)\n",
                                     static_cast<long long>(
                                         std::chrono::duration_cast<std::chrono::seconds>(now - since).count()),
                                     mScreenName.c_str(), mSeed);
                        std::abort();
                    }
                }
            });
    }

    void StopWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mStopping = true;
        }
        mWake.notify_all();
        if (mWatchdog.joinable())
            mWatchdog.join();
    }

    bool Played(const std::string& game) const
    {
        const auto found = mGames.find(game);
        return found != mGames.end() && !found->second.empty();
    }

    // Whether every built game was played at every difficulty.
    bool Covered() const
    {
        return std::all_of(
            mBuilt.begin(), mBuilt.end(),
            [this](const std::string& game)
            {
                const auto found = mGames.find(game);
                return found != mGames.end() && found->second.size() == GameModeDifficulty_Count;
            });
    }

    bool TimeIsUp() const
    {
        const auto played = std::chrono::steady_clock::now() - mStarted;
        if (mFixedLength)
            return played >= *mFixedLength;
        return played >= kBoundedMost || (played >= kBoundedLeast && Covered());
    }

    // The built game with the fewest difficulties played, and a difficulty it lacks.
    std::pair<const char*, int> Wanted()
    {
        const sGameRegistration* wanted = nullptr;
        size_t fewest = GameModeDifficulty_Count;
        for (const sGameRegistration& game : GetRegisteredGames())
            if (game.makeMode && mGames[game.label].size() < fewest)
            {
                fewest = mGames[game.label].size();
                wanted = &game;
            }
        if (wanted == nullptr)
            return {nullptr, 0};
        int difficulty = 0;
        while (mGames[wanted->label].count(difficulty) != 0)
            ++difficulty;
        return {wanted->storyName, difficulty};
    }

    // The node on the way to a game or difficulty not played yet, on the screens that lead there.
    SceneNode* OnTheWay(ApplicationMode* top, SceneNode* root)
    {
        const auto [game, difficulty] = Wanted();
        if (game == nullptr)
            return nullptr;
        Label name;
        if (dynamic_cast<TitleMode*>(top) != nullptr || dynamic_cast<MyAccountMode*>(top) != nullptr)
            name = Label(dynamic_cast<TitleMode*>(top) != nullptr ? "StartButton" : "PlayButton");
        else if (dynamic_cast<MainMenuMode*>(top) != nullptr)
            name = Label("FreePlayButton");
        else if (dynamic_cast<FreePlaySelectMode*>(top) != nullptr)
            name = Label(game);
        else if (dynamic_cast<DifficultySelectMode*>(top) != nullptr)
        {
            const char* radio = DifficultySelectMode::kRadioNames[difficulty];
            auto* chosen = dynamic_cast<RadioButtonNode*>(FindNamed(root, Label(radio)));
            name = Label(chosen != nullptr && chosen->IsChecked() ? "PlayButton" : radio);
        }
        return FindNamed(root, name);
    }

    void Push(SDL_Event event) { mPlanned.push_back(event); }

    void PlanMotion(int x, int y, bool held) { Push(MouseMotion(x, y, held)); }

    void PlanButton(Uint32 type, int x, int y) { Push(MouseButton(type, x, y)); }

    std::pair<int, int> PointIn(SceneNode* node)
    {
        const Rect<float> bounds = node->GlobalGetBounds();
        std::uniform_real_distribution<float> across(0.25f, 0.75f);
        return {static_cast<int>(bounds.x + bounds.width * across(mRandom)),
                static_cast<int>(bounds.y + bounds.height * across(mRandom))};
    }

    void PlanClick(int x, int y)
    {
        PlanMotion(x, y, false);
        PlanButton(SDL_MOUSEBUTTONDOWN, x, y);
        PlanButton(SDL_MOUSEBUTTONUP, x, y);
        ++mClicks;
    }

    void PlanDrag(std::pair<int, int> from, std::pair<int, int> to)
    {
        PlanMotion(from.first, from.second, false);
        PlanButton(SDL_MOUSEBUTTONDOWN, from.first, from.second);
        for (int step = 1; step <= 6; ++step)
            PlanMotion(from.first + (to.first - from.first) * step / 6,
                       from.second + (to.second - from.second) * step / 6, true);
        PlanButton(SDL_MOUSEBUTTONUP, to.first, to.second);
        ++mDrags;
    }

    void PlanKey()
    {
        static const SDL_Keycode kKeys[] = {SDLK_a,      SDLK_m,      SDLK_z,        SDLK_1,    SDLK_SPACE,
                                            SDLK_RETURN, SDLK_ESCAPE, SDLK_TAB,      SDLK_LEFT, SDLK_RIGHT,
                                            SDLK_UP,     SDLK_DOWN,   SDLK_BACKSPACE};
        const SDL_Keycode key = kKeys[std::uniform_int_distribution<size_t>(0, std::size(kKeys) - 1)(mRandom)];
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP})
        {
            SDL_Event event{};
            event.type = type;
            event.key.windowID = mWindow;
            event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
            event.key.keysym.sym = key;
            event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
            Push(event);
            if (type == SDL_KEYDOWN && key >= SDLK_a && key <= SDLK_z)
            {
                SDL_Event text{};
                text.type = SDL_TEXTINPUT;
                text.text.windowID = mWindow;
                text.text.text[0] = static_cast<char>(key);
                Push(text);
            }
        }
        ++mKeys;
    }

    // Notes the top screen and the game being played; fails a screen that stays for a minute and leaves it.
    void WatchScreens(ApplicationMode* top)
    {
        if (top != mTop)
        {
            mTop = top;
            mTopSince = std::chrono::steady_clock::now();
            std::lock_guard<std::mutex> lock(mMutex);
            mScreenName = TypeName(top, top != nullptr ? typeid(*top) : typeid(void));
            ++mScreens[mScreenName];
        }
        auto* game = OnStack<YardcrewGameMode>();
        if (game != mGame)
        {
            mGame = game;
            mGameSince = mClock;
            // Long enough that a game is now and then won, and its sticker given.
            mLeaveAfterMS = std::uniform_int_distribution<uint32_t>(10000, 90000)(mRandom);
        }
        // The game's label is known once it is set up.
        if (game != nullptr && !game->getGame().IsNull())
            mGames[game->getGame().c_str()].insert(GetLevelManager().difficulty);
        if (top != nullptr && std::chrono::steady_clock::now() - mTopSince > kStuckScreen)
        {
            ADD_FAILURE() << "the screen " << mScreenName << " stayed on top for a minute (seed " << mSeed << ")";
            mTopSince = std::chrono::steady_clock::now();
            const LevelManager& levels = GetLevelManager();
            if (levels.getStoryScreens().mainMenu)
                levels.getModeQueue().unwindTo(levels.getStoryScreens().mainMenu());
            else
                MainLoop::Exit();
        }
    }

    void Act(ApplicationMode* top)
    {
        // Between actions the player watches.
        mNextActionAt = mClock + std::uniform_int_distribution<uint32_t>(40, 600)(mRandom);
        auto* scene = dynamic_cast<SceneApplicationMode*>(top);
        SceneNode* root = scene != nullptr ? scene->GetRootNode() : nullptr;
        const bool inGame = mGame != nullptr;
        std::vector<SceneNode*> nodes;
        Collect(root, nodes);
        // Out of a game, yes to the quit question would end the session: it is never pressed, not even
        // by a click at a random point.
        SceneNode* endsSession = nullptr;
        if (dynamic_cast<QuitConfirmMode*>(top) != nullptr && !inGame)
        {
            endsSession = FindNamed(root, Label("YesButton"));
            std::erase_if(nodes, [](SceneNode* node) { return node->GetNodeName() == Label("YesButton"); });
        }

        std::uniform_real_distribution<double> chance(0.0, 1.0);
        // A game is left through its quit button once it has been played a while, or now and then won
        // outright: random clicks seldom finish a level, and the reward and the story's next step follow
        // a win.
        if (inGame && mClock - mGameSince > mLeaveAfterMS)
        {
            if (top == mGame && chance(mRandom) < 0.3)
            {
                mGame->endLevel();
                ++mWins;
                // Should the game not leave, the quit button comes later.
                mLeaveAfterMS = mClock - mGameSince + 30000;
                return;
            }
            const char* way = top == mGame ? "QuitButton" : dynamic_cast<QuitConfirmMode*>(top) ? "YesButton" : nullptr;
            if (SceneNode* node = way != nullptr ? FindNamed(root, Label(way)) : nullptr)
            {
                const auto [x, y] = PointIn(node);
                PlanClick(x, y);
                return;
            }
        }
        if (SceneNode* next = OnTheWay(top, root); next != nullptr && chance(mRandom) < 0.35)
        {
            const auto [x, y] = PointIn(next);
            PlanClick(x, y);
            return;
        }
        int width = 800;
        int height = 600;
        SDL_GetWindowSize(Linux::GetMainWindow(), &width, &height);
        const double roll = chance(mRandom);
        if (roll < 0.80 && !nodes.empty())
        {
            // The nodes clicked least are the likeliest; a game's quit button seldom, so that games are
            // played long enough to be won.
            static const Label kQuit("QuitButton");
            std::vector<double> weights;
            for (SceneNode* node : nodes)
                weights.push_back((inGame && node->GetNodeName() == kQuit ? 0.05 : 1.0) /
                                  (1.0 + mPressed[mScreenName + "/" + node->GetNodeName().c_str()]));
            SceneNode* node = nodes[std::discrete_distribution<size_t>(weights.begin(), weights.end())(mRandom)];
            ++mPressed[mScreenName + "/" + node->GetNodeName().c_str()];
            if (roll < 0.70)
            {
                const auto [x, y] = PointIn(node);
                PlanClick(x, y);
            }
            else
            {
                SceneNode* onto = nodes[std::uniform_int_distribution<size_t>(0, nodes.size() - 1)(mRandom)];
                PlanDrag(PointIn(node), PointIn(onto));
            }
        }
        else if (roll < 0.88)
        {
            const int x = std::uniform_int_distribution<int>(0, width - 1)(mRandom);
            const int y = std::uniform_int_distribution<int>(0, height - 1)(mRandom);
            const Rect<float> avoid = endsSession != nullptr ? endsSession->GlobalGetBounds() : Rect<float>();
            if (!(x >= avoid.x && x < avoid.x + avoid.width && y >= avoid.y && y < avoid.y + avoid.height))
                PlanClick(x, y);
        }
        else if (roll < 0.95)
            PlanKey();
    }

    void OnFrame() override
    {
        sFrameHooks hooks = GetFrameHooks();
        if (hooks.drawFrame != nullptr && hooks.drawFrame != &CountingDrawFrame)
        {
            gDrawFrame = hooks.drawFrame;
            hooks.drawFrame = &CountingDrawFrame;
            InstallFrameHooks(hooks);
        }
        if (TimeIsUp())
        {
            mFinished = true;
            MainLoop::Exit();
            return;
        }
        ApplicationMode* top = MainLoop::GetTopMostMode(0);
        WatchScreens(top);
        if (Linux::GetMainWindow() == nullptr)
            return;
        mWindow = SDL_GetWindowID(Linux::GetMainWindow());
        if (!mPlanned.empty())
        {
            SDL_PushEvent(&mPlanned.front());
            mPlanned.pop_front();
            return;
        }
        if (mClock - mNextActionAt < 0x80000000u)
            Act(top);
    }

    void Report() const
    {
        std::ostringstream out;
        out << "long run seed " << mSeed << ": "
            << std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - mStarted).count()
            << " s, " << gFramesDrawn << " frames drawn, " << (mClock - kStart) / 1000 << " s of game time, " << mClicks
            << " clicks, " << mDrags << " drags, " << mKeys << " keys, " << mWins
            << " games won outright\nscreens reached:";
        for (const auto& [screen, times] : mScreens)
            out << " " << screen << " x" << times;
        out << "\ngames reached:";
        for (const auto& [game, difficulties] : mGames)
        {
            if (difficulties.empty())
                continue;
            out << " " << game << " (";
            for (int difficulty : difficulties)
                out << (difficulty != *difficulties.begin() ? " " : "")
                    << DifficultySelectMode::kRadioNames[difficulty];
            out << ")";
        }
        // The screens are the content lists' owners named after a mode class.
        out << "\nscreens not reached:";
        for (const sContentList& list : GetContentLists())
            if (const std::string owner = list.owner; owner.ends_with("Mode") && mScreens.count(owner) == 0)
                out << " " << owner;
        out << "\nnot built, not played:";
        for (const std::string& game : mNotBuilt)
            out << " " << game;
        std::printf("%s\n", out.str().c_str());
        std::fflush(stdout);
    }

    unsigned mSeed = 0;
    std::mt19937 mRandom;
    std::optional<std::chrono::seconds> mFixedLength;
    std::chrono::steady_clock::time_point mStarted = std::chrono::steady_clock::now();
    uint32_t mNextActionAt = kStart;
    bool mFinished = false;
    Uint32 mWindow = 0;
    std::deque<SDL_Event> mPlanned;
    int mClicks = 0;
    int mDrags = 0;
    int mKeys = 0;
    int mWins = 0;

    std::vector<std::string> mBuilt;
    std::vector<std::string> mNotBuilt;
    std::map<std::string, int> mScreens;
    std::map<std::string, std::set<int>> mGames;
    std::map<std::string, int> mPressed;
    ApplicationMode* mTop = nullptr;
    std::chrono::steady_clock::time_point mTopSince;
    YardcrewGameMode* mGame = nullptr;
    uint32_t mGameSince = kStart;
    uint32_t mLeaveAfterMS = 0;

    std::thread mWatchdog;
    std::mutex mMutex; // guards mScreenName and mStopping
    std::condition_variable mWake;
    std::string mScreenName = "(none)";
    bool mStopping = false;
};

TEST_F(LongRunTest, RandomPlayReachesEveryGameAndKeepsTheProfileWellFormed)
{
    StartWatchdog();
    mStarted = std::chrono::steady_clock::now();
    ASSERT_NO_THROW(MainLoop::Execute());
    StopWatchdog();
    Report();
    EXPECT_TRUE(mFinished) << "the game ended before the session did, on the screen " << mScreenName << " (seed "
                           << mSeed << ")";
    for (const std::string& game : mBuilt)
        EXPECT_TRUE(Played(game)) << game << " was never played (seed " << mSeed << ")";
    int read = 0;
    EXPECT_EQ(MalformedProfiles(mUserFolder.Path(), &read), "") << "seed " << mSeed;
    EXPECT_GE(read, 1) << "no profile was written";
}

} // namespace
