#include "audio/AudioControls.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Strata;
using Strata::Internal::BaseAudioControls;

namespace
{

AudioControlsPtr Node(IAudioControls* parent)
{
    return AudioControlsPtr(new BaseAudioControls(parent), false);
}

// root, master, group, channel node: the shape the platform builds.
struct Tree
{
    AudioControlsPtr root = Node(nullptr);
    AudioControlsPtr master = Node(root.get());
    AudioControlsPtr group = Node(master.get());
    AudioControlsPtr channel = Node(group.get());

    // Parents first, as the platform updates them.
    void Update(float seconds)
    {
        for (const auto& node : {root, master, group, channel})
            node->Update(seconds);
    }
};

TEST(AudioControlsTest, EffectiveValuesAndDirtinessCombineThroughTheParents)
{
    struct Case
    {
        float master, group, channel;
        float volume; // product
    };
    const Case cases[] = {{0.8f, 0.5f, 1.0f, 0.4f}, {0.5f, 1.0f, 0.5f, 0.25f}, {0.0f, 1.0f, 1.0f, 0.0f}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "volume " << c.volume);
        Tree tree;
        EXPECT_TRUE(tree.channel->IsDirty());
        tree.Update(0.1f);
        EXPECT_FALSE(tree.channel->IsDirty());
        tree.master->SetVolume(c.master);
        EXPECT_TRUE(tree.channel->IsDirty());
        EXPECT_FALSE(tree.root->IsDirty());
        tree.group->SetVolume(c.group);
        tree.channel->SetVolume(c.channel);
        tree.group->SetPan(0.7f);
        tree.channel->SetPan(0.6f);
        tree.group->SetRate(2.0f);
        tree.channel->SetRate(0.75f);
        EXPECT_FLOAT_EQ(tree.channel->GetVolume(), c.volume);
        EXPECT_FLOAT_EQ(tree.channel->GetPan(), 1.0f); // 0.0 + 0.7 + 0.6, clamped
        EXPECT_FLOAT_EQ(tree.channel->GetRate(), 1.5f);
        tree.group->SetPan(-0.7f);
        tree.channel->SetPan(-0.6f);
        EXPECT_FLOAT_EQ(tree.channel->GetPan(), -1.0f);
        EXPECT_FLOAT_EQ(tree.group->GetPan(), -0.7f);
        tree.Update(0.1f);
        EXPECT_FALSE(tree.channel->IsDirty());
    }
}

TEST(AudioControlsTest, FlagsHoldForEveryDescendant)
{
    struct Case
    {
        const char* name;
        void (*set)(IAudioControls&, bool);
        bool (*get)(const IAudioControls&);
    };
    const Case cases[] = {
        {"mute", [](IAudioControls& n, bool on) { n.Mute(on); }, [](const IAudioControls& n) { return n.IsMuted(); }},
        {"pause", [](IAudioControls& n, bool on) { on ? n.Pause() : n.Resume(); },
         [](const IAudioControls& n) { return n.IsPaused(); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Tree tree;
        c.set(*tree.master, true);
        EXPECT_TRUE(c.get(*tree.channel));
        EXPECT_FALSE(c.get(*tree.root));
        // Lifting the master's flag leaves one set on the node itself.
        c.set(*tree.channel, true);
        c.set(*tree.master, false);
        EXPECT_TRUE(c.get(*tree.channel));
        EXPECT_FALSE(c.get(*tree.group));
        c.set(*tree.channel, false);
        EXPECT_FALSE(c.get(*tree.channel));
    }
}

TEST(AudioControlsTest, DelaysFireOnceAndAStopLastsOneFrame)
{
    Tree tree;
    tree.group->StopAfter(2.0f);
    tree.group->PauseAfter(0.0f);
    tree.channel->PauseAfter(-1.0f);
    std::vector<bool> stops;
    for (int frame = 0; frame < 4; ++frame)
    {
        tree.Update(1.0f);
        stops.push_back(tree.channel->IsStopNeeded());
    }
    EXPECT_EQ(stops, (std::vector<bool>{false, true, false, false}));
    EXPECT_FALSE(tree.channel->IsPaused());

    tree.master->PauseAfter(0.5f);
    tree.master->ResumeAfter(1.5f);
    tree.Update(0.25f);
    EXPECT_FALSE(tree.channel->IsPaused());
    tree.Update(0.25f);
    EXPECT_TRUE(tree.channel->IsPaused());
    tree.Update(1.0f);
    EXPECT_FALSE(tree.channel->IsPaused());
}

TEST(AudioControlsTest, AnimationsRunOneAtATimeAndSettingEndsThem)
{
    Tree tree;
    tree.Update(0.0f);
    tree.channel->AnimateVolumeTo(0.0f, 1.0f);
    tree.channel->AnimateRateTo(2.0f, 1.0f);
    AudioSettings saved;
    tree.channel->SaveSettings(&saved);
    EXPECT_FLOAT_EQ(saved.volume, 0.0f);
    EXPECT_FLOAT_EQ(saved.rate, 2.0f);

    // The volume fade runs first; the rate fade's time starts once it has ended.
    tree.Update(0.5f);
    EXPECT_FLOAT_EQ(tree.channel->GetVolume(), 0.5f);
    EXPECT_FLOAT_EQ(tree.channel->GetRate(), 1.0f);
    tree.Update(0.5f);
    EXPECT_FLOAT_EQ(tree.channel->GetVolume(), 0.0f);
    EXPECT_FLOAT_EQ(tree.channel->GetRate(), 1.0f);
    tree.Update(0.5f);
    EXPECT_FLOAT_EQ(tree.channel->GetRate(), 1.5f);
    tree.Update(0.5f);
    EXPECT_FLOAT_EQ(tree.channel->GetRate(), 2.0f);

    tree.channel->AnimateVolumeTo(0.0f, 1.0f);
    tree.channel->SetVolume(1.0f);
    for (int frame = 0; frame < 4; ++frame)
        tree.Update(0.5f);
    EXPECT_FLOAT_EQ(tree.channel->GetVolume(), 1.0f);
}

TEST(AudioControlsTest, RestoringSettingsKeepsPauseAndEndsFades)
{
    Tree tree;
    tree.group->Pause();
    tree.group->AnimateVolumeTo(0.0f, 10.0f);
    tree.group->RestoreSettings({0.25f, 1.5f, -0.5f, 1});
    EXPECT_TRUE(tree.group->IsPaused());
    EXPECT_TRUE(tree.group->IsMuted());
    tree.Update(5.0f);
    tree.Update(5.0f);
    AudioSettings saved;
    tree.group->SaveSettings(&saved);
    EXPECT_FLOAT_EQ(saved.volume, 0.25f);
    EXPECT_FLOAT_EQ(saved.rate, 1.5f);
    EXPECT_FLOAT_EQ(saved.pan, -0.5f);
    EXPECT_EQ(saved.muted, 1);
    // Own values only, never the effective ones.
    tree.master->SetVolume(0.5f);
    tree.group->SaveSettings(&saved);
    EXPECT_FLOAT_EQ(saved.volume, 0.25f);
}

TEST(AudioControlsTest, ANodeLivesWhileAChildHoldsIt)
{
    AudioControlsPtr child;
    {
        AudioControlsPtr parent = Node(nullptr);
        parent->SetVolume(0.5f);
        child = Node(parent.get());
    }
    EXPECT_FLOAT_EQ(child->GetVolume(), 0.5f);
}

} // namespace
