#include "graphics/GraphicsPlatform.h"

#include "framework/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <new>
#include <thread>

using namespace Strata;

namespace
{

// Registers itself while it lives, as every back end does.
struct FakeGraphicsPlatform : IGraphicsPlatform
{
    FakeGraphicsPlatform() { RegisterSingleton(this); }
    ~FakeGraphicsPlatform() override { UnregisterSingleton(this); }
    const wchar_t* GetName() override { return L"fake"; }
    void GetSupportedWindowConfig(sWindowConfig*) override {}
    unsigned long GetCaps() override { return 1; }
    void Setup(const sWindowConfig&) override {}
    void Cleanup() override {}
    int BeginScene() override { return 0; }
    int EndScene() override { return 0; }
    ICanvas* GetScreenCanvas() override { return nullptr; }
    ITexture* CreateTexture(const Image*, const Rect<int>*) override { return nullptr; }
};

// A renderer the main loop can drive that draws through no canvas of the graphics layer.
struct BareRenderPlatform : IRenderPlatform
{
    BareRenderPlatform() { RegisterSingleton(this); }
    ~BareRenderPlatform() override { UnregisterSingleton(this); }
    const wchar_t* GetName() override { return L"bare"; }
    void GetSupportedWindowConfig(sWindowConfig*) override {}
    unsigned long GetCaps() override { return 1; }
    void Setup(const sWindowConfig&) override {}
    void Cleanup() override {}
    int BeginScene() override { return 0; }
    int EndScene() override { return 0; }
    bool HasScreenCanvas() override { return false; }
};

} // namespace

TEST(PlatformRegistry, EmptySlotsAnswerNull)
{
    UnregisterSingleton(static_cast<IPlatform*>(nullptr));
    EXPECT_FALSE(IsPlatformRegistered());
    EXPECT_EQ(GetPlatform(), nullptr);
    EXPECT_FALSE(IsGraphicsPlatformRegistered());
    EXPECT_EQ(GetGraphicsPlatform(), nullptr);
}

TEST(PlatformRegistry, UnregisteringAnotherPointerKeepsTheRegisteredOne)
{
    {
        FakeGraphicsPlatform first;
        EXPECT_EQ(GetGraphicsPlatform(), &first);
        EXPECT_FALSE(IsPlatformRegistered()) << "the slots are separate";
        {
            FakeGraphicsPlatform second; // replaces the first
            UnregisterSingleton(&first);
            UnregisterSingleton(static_cast<IRenderPlatform*>(nullptr));
            EXPECT_EQ(GetGraphicsPlatform(), &second);
        }
        EXPECT_FALSE(IsGraphicsPlatformRegistered()) << "the second cleared its own registration";
        RegisterSingleton(&first);
        EXPECT_TRUE(IsGraphicsPlatformRegistered());
    }
    EXPECT_EQ(GetGraphicsPlatform(), nullptr);
}

TEST(PlatformRegistry, AReplacedBackEndDyingLeavesItsSuccessor)
{
    // A new renderer made before the old one is deleted (a fall-back during window set-up).
    auto* old = new FakeGraphicsPlatform();
    FakeGraphicsPlatform successor;
    delete old;
    EXPECT_EQ(GetGraphicsPlatform(), &successor);
}

TEST(PlatformRegistry, GraphicsPlatformIsTheRegisteredRendererOnlyWhenItDraws)
{
    {
        BareRenderPlatform bare;
        EXPECT_EQ(GetRenderPlatform(), &bare);
        EXPECT_EQ(GetGraphicsPlatform(), nullptr) << "no screen canvas or textures to hand out";
        EXPECT_FALSE(IsGraphicsPlatformRegistered());
        FakeGraphicsPlatform drawing;
        EXPECT_EQ(GetRenderPlatform(), static_cast<IRenderPlatform*>(&drawing));
        EXPECT_EQ(GetGraphicsPlatform(), &drawing);
        EXPECT_FALSE(drawing.HasScreenCanvas());
    }
    EXPECT_FALSE(IsRenderPlatformRegistered());
}

// The answer is worked out once per registration: a renderer of another kind made where a deleted one
// was (one address, another type) must not be taken for it, on this thread or on one that asked before.
TEST(PlatformRegistry, ARendererInTheSameStorageIsJudgedAnew)
{
    alignas(FakeGraphicsPlatform) alignas(
        BareRenderPlatform) unsigned char storage[std::max(sizeof(FakeGraphicsPlatform), sizeof(BareRenderPlatform))];
    IGraphicsPlatform* seenElsewhere = nullptr;
    const auto askOnAnotherThread = [&seenElsewhere]
    { std::thread([&] { seenElsewhere = GetGraphicsPlatform(); }).join(); };
    const bool drawing[] = {true, false, true, true, false, false};
    for (size_t i = 0; i < std::size(drawing); ++i)
    {
        SCOPED_TRACE(i);
        IRenderPlatform* made = drawing[i] ? static_cast<IRenderPlatform*>(new (storage) FakeGraphicsPlatform())
                                           : new (storage) BareRenderPlatform();
        ASSERT_EQ(static_cast<void*>(made), static_cast<void*>(storage));
        IGraphicsPlatform* expected = drawing[i] ? static_cast<FakeGraphicsPlatform*>(made) : nullptr;
        EXPECT_EQ(GetGraphicsPlatform(), expected);
        EXPECT_EQ(GetGraphicsPlatform(), expected) << "asked again";
        askOnAnotherThread();
        EXPECT_EQ(seenElsewhere, expected);
        made->~IRenderPlatform();
        EXPECT_EQ(GetGraphicsPlatform(), nullptr) << "gone with its deletion";
    }
}
