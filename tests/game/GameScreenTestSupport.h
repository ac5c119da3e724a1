#pragma once

// A fixture for the game's modes: audio on the loopback device, the scene graph, the game's resource
// kinds, a new profile on an in-memory user partition, and the level manager's mode queue recorded
// instead of run (one line per queued change).

#include "game/LevelManager.h"
#include "game/LevelProgression.h"

#include "core/FileSystem.h"
#include "core/Random.h"
#include "framework/MainLoop.h"
#include "scene/StrataExtensions.h"

#include "GameAudioTestSupport.h"
#include "GameServicesTestSupport.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace GameTesting
{

using namespace Yardcrew;

// Stands in for a mode the code under test opens: it only says what it is.
struct NamedMode : ApplicationMode
{
    explicit NamedMode(std::string text) : what(std::move(text)) {}
    std::string what;
};

class GameScreenTest : public GameAudioTest
{
protected:
    // The shared set-up before the fixture's own content: `accountID`, when given, is written to the
    // new current profile `profile`; a non-zero `seed` fixes the random stream.
    void SetUpScreens(const wchar_t* profile, const wchar_t* accountID = nullptr, unsigned seed = 0)
    {
        GameAudioTest::SetUp();
        SetupStrataExtensions();
        manager->AddResourceFactory(L"countedimagelist", new CountedImageListFactory());
        manager->AddResourceFactory(L"LevelProg", new LevelProgressionResourceFactory());
        (new FileSystem())->AddFileSystemPartition(FileSystemPartition_User, new MemoryFileSystemPartition(L"user"));
        if (seed != 0)
        {
            mSeeded = true;
            Random::SetSeedOverride(seed);
            Random::Engine_Setup();
        }
        ASSERT_NE(GetAccountManager()->NewAccount(profile), nullptr);
        ASSERT_TRUE(GetAccountManager()->SetCurrentAccount(profile));
        if (accountID != nullptr)
            Profile()->WriteValue(L"AccountID", std::wstring(accountID));
    }

    // Records each mode queued as "unwind <what>" or "push <what>", and each pop as "pop"; `describe`
    // may keep the mode.
    void RecordModeQueue(std::function<std::string(std::unique_ptr<ApplicationMode>&)> describe)
    {
        const auto record = [this, describe](const char* how)
        {
            return [this, how, describe](std::unique_ptr<ApplicationMode> mode)
            { queued.push_back(std::string(how) + " " + describe(mode)); };
        };
        GetLevelManager().setModeQueue({record("unwind"), record("push"), [this] { queued.push_back("pop"); }});
    }

    void TearDown() override
    {
        LevelManager& levels = GetLevelManager();
        levels.setModeQueue({});
        levels.setStoryScreenConstructors({});
        levels.setLevelProgression(Label());
        levels.freePlay = true;
        if (mSeeded)
        {
            Random::Engine_Destroy();
            Random::ClearSeedOverride();
        }
        GameAudioTest::TearDown();
    }

    // Made current, set up and entered, as the main loop does.
    void Start(ApplicationMode& mode)
    {
        MainLoop::WithinContext(&mode, context);
        mode.Setup();
        mode.Enter();
    }

    using GameAudioTest::Step;
    // One 20 ms step: voice queue, mode, audio output.
    void Step(ApplicationMode& mode)
    {
        GetAudioManager()->updateVocalAudioQueues();
        mode.Update(0.02f);
        Frame(2 * kStepFrames);
    }

    static Account* Profile() { return GetAccountManager()->GetCurrentAccount(); }
    std::vector<std::string> TakeQueued() { return std::exchange(queued, {}); }

    MainLoop::AutoContext context;
    std::vector<std::string> queued;

private:
    bool mSeeded = false;
};

} // namespace GameTesting
