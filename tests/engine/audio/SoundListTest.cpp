#include "audio/SoundList.h"

#include "controls/Button.h"
#include "core/AttributeContainer.h"

#include "AudioPlatformTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

constexpr int kRate = AudioLibrary::kOutputRate;

// The game's way in: a manifest of sounds and a sound list, loaded on the loader thread.
class SoundListTest : public AudioPlatformTest
{
protected:
    void SetUp() override
    {
        AudioPlatformTest::SetUp();
        AddFile(L"sounds/click.wav", MakeWav(2000, 1000.0f));
        AddFile(L"sounds/red.ogg", MakeOgg(kRate / 2, 500.0f));
        AddFile(L"sounds/red2.wav", MakeWav(kRate / 2, 500.0f));
        AddFile(L"sounds/hum.ogg", MakeOgg(3000, 200.0f));
        LoadManifest("<sound name=\"click\" src=\"sounds/click\"/>\n"
                     "<randomsound name=\"red\"><sound src=\"sounds/red\"/><sound "
                     "src=\"sounds/red2\"/></randomsound>\n"
                     "<sound name=\"hum\" src=\"sounds/hum\" loop=\"forever\"/>\n"
                     "<soundlist name=\"UISounds\">\n"
                     "  <sound event=\"Down\" src=\"click\"/>\n"
                     "  <sound event=\"Hot\" src=\"nothing\"/>\n"
                     "  <sound event=\"Red\" src=\"click\"/>\n"
                     "  <sound event=\"Red\" src=\"red\"/>\n"
                     "  <note event=\"Up\" src=\"click\"/>\n"
                     "</soundlist>\n");
        list = AutoResource<SoundList>(Label("UISounds")).Get();
        ASSERT_NE(list, nullptr);
    }

    // Runs a task until it completes; the number of updates it took (0 when it never did).
    int RunUntilComplete(Task& task, int limit = 200)
    {
        for (int update = 1; update <= limit; ++update)
        {
            if (task.Update(nullptr, kStep).state == TaskState_Complete)
                return update;
            Frame();
        }
        return 0;
    }

    const SoundList* list = nullptr;
};

TEST_F(SoundListTest, EventsMapToTheirSoundsAndPlay)
{
    EXPECT_EQ(list->GetCount(), 3u);
    EXPECT_EQ(list->GetSound(Label("Down")), Sound("click"));
    EXPECT_EQ(list->GetSound(Label("Red")), Sound("red"));
    EXPECT_EQ(list->GetSound(Label("Hot")), nullptr);
    EXPECT_EQ(list->GetSound(Label("Up")), nullptr);

    list->PlaySound(Label("Up"));
    list->PlaySound(Label("Hot"));
    EXPECT_EQ(platform->GetChannelCount(), 0u);
    // The list keeps its sounds even when their manifest goes away before it.
    const std::shared_ptr<IResourceDescriptor> kept = manager->GetResource(Label("UISounds"));
    manager->Unload(L"sounds");
    EXPECT_EQ(Sound("red"), nullptr);
    list->PlaySound(Label("Red"));
    EXPECT_EQ(platform->GetChannelCount(), 1u);
    Frame();
    EXPECT_NEAR(RisingCrossings(Frame(kRate / 10)), 50, 3);
}

TEST_F(SoundListTest, AButtonPlaysItsDownSoundWhenPressed)
{
    ButtonObjectFactory factory;
    const AttributeContainer attributes(AttributeContainer::AttributeMap{{L"sounds", L"UISounds"}});
    std::unique_ptr<Object> object(factory.CreateObject(Label("ok"), attributes));
    auto* button = dynamic_cast<ButtonObject*>(object.get());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->mSounds, list);
    button->SetBounds(Rect<float>(0, 0, 40, 20));

    button->OnMouseMove(5, 5); // "Hot" has no sound
    EXPECT_EQ(Rms(Frame(), 0), 0.0);
    button->OnMouseDown(MouseButton_Left, 50, 50);
    EXPECT_EQ(Rms(Frame(), 0), 0.0);
    button->OnMouseDown(MouseButton_Left, 5, 5);
    EXPECT_GT(Rms(Frame(), 0), 0.01);
    EXPECT_EQ(platform->GetChannelCount(), 1u);
}

TEST_F(SoundListTest, APlayTaskCompletesWhenItsSoundHasEndedOrIsStopped)
{
    struct Case
    {
        const char* name;
        bool wait;
        int minUpdates, maxUpdates;
    };
    // The click lasts 2,000 frames, about five steps of 441.
    const Case cases[] = {{"click", false, 1, 1}, {"click", true, 5, 7}, {"nothing", true, 1, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.name << (c.wait ? " waiting" : ""));
        AudioPlayTask task(Sound(c.name), c.wait, Audio::sPlayState());
        const int updates = RunUntilComplete(task);
        EXPECT_GE(updates, c.minUpdates);
        EXPECT_LE(updates, c.maxUpdates);
        // Until the play has ended, the same sound would be dropped by the repeat guard.
        for (int i = 0; i < 8; ++i)
            Frame();
    }
    // By name, never waiting.
    AudioPlayTask named(Label("click"), Audio::sPlayState());
    EXPECT_EQ(RunUntilComplete(named), 1);

    // Waiting on a sound that loops forever ends only with a stop.
    AudioPlayTask forever(Sound("hum"), true, Audio::sPlayState());
    std::unique_ptr<Task> twin(forever.Clone());
    EXPECT_EQ(forever.Update(nullptr, kStep).state, TaskState_Incomplete);
    // The same sound in the same frame: no channel, so the clone completes at once.
    EXPECT_EQ(twin->Update(nullptr, kStep).state, TaskState_Complete);
    Frame();
    EXPECT_EQ(RunUntilComplete(forever, 30), 0);
    platform->GetControls(Audio::GetEffectKind())->Stop();
    Frame();
    EXPECT_EQ(forever.Update(nullptr, kStep).state, TaskState_Complete);
}

} // namespace
