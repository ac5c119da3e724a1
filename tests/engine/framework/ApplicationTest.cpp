#include "framework/Application.h"
#include "core/Singleton.h"

#include "framework/FileSource.h"
#include "framework/MainLoop.h"
#include "support/FakeGraphicsPlatform.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>

using namespace Strata;
using Strata::Testing::CallLog;
using Strata::Testing::FakeGraphicsPlatform;
using Strata::Testing::FakePlatform;

namespace
{

// A program's application class that overrides nothing.
class PlainApplication : public BaseApplication
{
};

TEST(ApplicationTest, TheBaseGivesTheDefaultDescriptorConfigurationAndWindow)
{
    PlainApplication app;
    const sApplicationDescriptor& descriptor = app.GetDescriptor();
    EXPECT_STREQ(descriptor.companyName, L"[Company Name]");
    EXPECT_STREQ(descriptor.productName, L"[Product Name]");
    EXPECT_STREQ(descriptor.copyright, L"[Copyright]");
    EXPECT_STREQ(descriptor.userVersion, L"[User Version]");
    EXPECT_STREQ(descriptor.fullVersion, L"[Full Version]");
    EXPECT_TRUE(std::all_of(std::begin(descriptor.version), std::end(descriptor.version),
                            [](uint16_t part) { return part == 0; }));
    EXPECT_EQ(descriptor.windowTitle, nullptr);

    EXPECT_EQ(app.GetConfig().singleInstance, 1);
    EXPECT_EQ(app.GetConfig().runInBackground, 0);
    const sWindowConfig window = app.GetDefaultWindowConfig();
    EXPECT_EQ(window.mode, 1);
    EXPECT_EQ(window.resizePolicy, 1);
    EXPECT_EQ(window.width, 800);
    EXPECT_EQ(window.height, 600);
    EXPECT_EQ(app.GetDefaultGraphicsPlatformCaps(), static_cast<unsigned long>(GraphicsPlatformCaps_Hardware));
}

TEST(ApplicationTest, DestroyingAnApplicationClearsTheRecordOnlyWhenItIsTheRecordedOne)
{
    ASSERT_EQ(GetApplication(), nullptr);
    auto first = std::make_unique<PlainApplication>();
    EXPECT_EQ(GetApplication(), first.get());
    auto second = std::make_unique<PlainApplication>();
    EXPECT_EQ(GetApplication(), second.get());
    first.reset();
    EXPECT_EQ(GetApplication(), second.get());
    second.reset();
    EXPECT_EQ(GetApplication(), nullptr);
}

class NoFiles : public IFileSource
{
public:
    IStream* OpenFileStream(const FileAddress&) const override { return nullptr; }
};

// An application that overrides nothing asks for a single instance and pauses while inactive.
TEST(ApplicationTest, APlainApplicationRunsSingleInstanceAndPausesWhileInactive)
{
    uint32_t clock = 0;
    MainLoop::ResetForTesting();
    MainLoop::SetProcessReleaseForTesting(false);
    MainLoop::SetTimeSourceForTesting([&clock] { return clock; }, [&clock](unsigned long ms) { clock += ms; });
    NoFiles files;
    RegisterSingleton(&files);
    CallLog log;
    FakePlatform platform(&log);
    new FakeGraphicsPlatform(&log); // deleted by the loop
    int passes = 0;
    platform.onPass = [&]
    {
        if (++passes == 4)
            platform.active = false;
    };
    platform.onWaitForEvent = [&]
    {
        clock += 1000;
        platform.quitPending = true;
    };
    {
        PlainApplication app;
        MainLoop::Execute();
    }
    MainLoop::SetTimeSourceForTesting(nullptr, nullptr);
    MainLoop::SetProcessReleaseForTesting(true);
    Internal::DeleteAllSingletons(); // the resource manager and its loader thread made by the run
    RegisterSingleton(static_cast<IFileSource*>(nullptr));

    EXPECT_EQ(std::count(log.begin(), log.end(), "EnforceSingleInstance"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "WaitForEvent"), 1);
    EXPECT_EQ(passes, 5); // the one that waited ended the loop
    EXPECT_FALSE(IsRenderPlatformRegistered());
}

} // namespace
