// Input as the window system delivers it: SDL events through the real platform, the main loop and a
// mode's object database to a button.

#include "platform/linux/ApplicationPlatform.h"

#include "ChildXServer.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"
#include "controls/Button.h"
#include "core/Singleton.h"
#include "framework/Application.h"
#include "framework/ApplicationMode.h"
#include "framework/FrameHooks.h"
#include "framework/MainLoop.h"
#include "graphics/Window.h"
#include "platform/linux/FrameViewport.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace Strata;

namespace
{

// What the run saw, read by the test after the loop ended.
struct sClickRun
{
    bool focused = false;
    bool capturedByButton = false;
    bool capturedBySystem = false;
    bool releasedBySystem = false;
    std::vector<ObjectID> clicks;
    ObjectID button;
    int frames = 0;
};

void PushButton(uint32_t type, int x, int y)
{
    SDL_Event event{};
    event.type = type;
    event.button.windowID = SDL_GetWindowID(Linux::GetMainWindow());
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = x;
    event.button.y = y;
    SDL_PushEvent(&event);
}

bool SystemCaptured()
{
    SDL_Window* window = Linux::GetMainWindow();
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_MOUSE_CAPTURE) != 0;
}

// A button at (100, 100, 80 x 40). Each update runs one step of the script: take the focus, press,
// release once the press has captured the mouse, end the loop on the click.
class ClickMode final : public ApplicationMode
{
public:
    explicit ClickMode(sClickRun* run) : mRun(run) {}

    void Setup() override
    {
        mButton = new ButtonObject(Label("ok"));
        mButton->SetBounds(Rect<float>(100.0f, 100.0f, 80.0f, 40.0f));
        mRun->button = AddObject(mButton);
    }

    void Update(float dt) override
    {
        ApplicationMode::Update(dt);
        if (++mRun->frames > 500)
        {
            ADD_FAILURE() << "the script did not finish";
            MainLoop::Exit();
            return;
        }
        SDL_Window* window = Linux::GetMainWindow();
        switch (mStep)
        {
        case 0:
            // The capture needs the keyboard focus; without a window manager nobody else gives it.
            SDL_SetWindowInputFocus(window);
            mStep = 1;
            break;
        case 1:
            if (SDL_GetKeyboardFocus() == window || mRun->frames > 100)
            {
                mRun->focused = SDL_GetKeyboardFocus() == window;
                PushButton(SDL_MOUSEBUTTONDOWN, 140, 120);
                mStep = 2;
            }
            break;
        case 2:
            if (mButton->HasCapture())
            {
                mRun->capturedByButton = true;
                mRun->capturedBySystem = SystemCaptured();
                PushButton(SDL_MOUSEBUTTONUP, 150, 125);
                mStep = 3;
            }
            break;
        default:
            break;
        }
    }

    void ReceiveMessage(const ObjectMessage& message) override
    {
        ApplicationMode::ReceiveMessage(message);
        if (message.GetName() == Label("ButtonClick"))
        {
            mRun->clicks.push_back(message.GetSender());
            mRun->releasedBySystem = !mButton->HasCapture() && !SystemCaptured();
            MainLoop::Exit();
        }
    }

private:
    sClickRun* mRun;
    ButtonObject* mButton = nullptr;
    int mStep = 0;
};

class ClickApplication final : public BaseApplication
{
public:
    explicit ClickApplication(sClickRun* run) : mRun(run)
    {
        mDescriptor.companyName = L"StrataTest";
        mDescriptor.productName = L"Input End To End";
        mConfig.singleInstance = 0;
        mConfig.runInBackground = 1;
    }
    const sApplicationDescriptor& GetDescriptor() const override { return mDescriptor; }
    const sApplicationConfig& GetConfig() const override { return mConfig; }
    sWindowConfig GetDefaultWindowConfig() const override { return sWindowConfig{0, 1, 800, 600}; }
    unsigned long GetDefaultGraphicsPlatformCaps() const override { return GraphicsPlatformCaps_Software; }
    void Setup() override { MainLoop::ChangeMode(new ClickMode(mRun)); }

private:
    sClickRun* mRun;
    sApplicationDescriptor mDescriptor;
    sApplicationConfig mConfig;
};

class InputEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string reason;
        if (!mServer.Start("1024x768x24", &reason))
            GTEST_SKIP() << reason;
        mRoot.Put("data/readme.txt");
        Set("STRATA_DATA_DIR", mRoot.Path("data").c_str());
        Set("XDG_DATA_HOME", mRoot.Path("xdg").c_str());
        Set("SDL_VIDEODRIVER", "x11");
        if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr)
            Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        MainLoop::ResetForTesting();
        MainLoop::SetProcessReleaseForTesting(false);
        MainLoop::SetPlatformFactory(&Linux::CreatePlatform);
    }

    void TearDown() override
    {
        MainLoop::ResetForTesting();
        MainLoop::SetPlatformFactory(nullptr);
        MainLoop::SetProcessReleaseForTesting(true);
        Window::Internal::ResetForTesting();
        InstallFrameHooks(sFrameHooks());
        Internal::DeleteAllSingletons();
        mServer.Stop();
        while (!mEnvironment.empty())
            mEnvironment.pop_back();
    }

    void Set(const char* name, const char* value)
    {
        mEnvironment.push_back(std::make_unique<ScopedEnvironment>(name, value));
    }

    ChildXServer mServer;
    TempFolder mRoot;
    std::vector<std::unique_ptr<ScopedEnvironment>> mEnvironment;
};

TEST_F(InputEndToEndTest, APressAndReleaseOnAButtonCaptureTheMouseAndBroadcastButtonClick)
{
    sClickRun run;
    {
        ClickApplication application(&run);
        ASSERT_NO_THROW(MainLoop::Execute());
    }
    ASSERT_EQ(run.clicks.size(), 1u) << "after " << run.frames << " updates";
    EXPECT_EQ(run.clicks[0], run.button) << "the button is the sender";
    EXPECT_TRUE(run.capturedByButton);
    ASSERT_TRUE(run.focused) << "the window never had the focus";
    EXPECT_TRUE(run.capturedBySystem) << "the press captures the mouse through the platform";
    EXPECT_TRUE(run.releasedBySystem) << "the release lets it go";
}

} // namespace
