// The game's own pointer in the real game on an X server of its own (software canvas, as a player's
// screen shows it): a profile saved when the pointer pictures were off for everyone, then the title, a
// menu, the sticker book, each game's instruction pop-up, each of the games with its own pointer (the
// fence game's brush before and after a bucket press) and the quit question. At each, the window's
// pixels at the pointer are the picture's, hot spot at the mouse, and the system's arrow is hidden. The
// screenshots go to $MENAGERIE_SCREENSHOT_DIR when it is set (X screenshots hold no system arrow: the
// pointer seen is the game's own).

#include "game/ForemanInstructionMode.h"
#include "game/GameRegistry.h"
#include "game/HammerTheNail/DraggableTool.h"
#include "game/HammerTheNail/HammerTheNailMode.h"
#include "game/HammerTheNail/TargetNail.h"
#include "game/MiniGameContent.h"
#include "game/MiniGameMode.h"
#include "game/MiniGamePattern.h"
#include "game/PaintIt/HousePaintBucket.h"
#include "game/PaintIt/PaintItContent.h"
#include "game/PaintIt/PaintTheHouseMode.h"
#include "game/YardcrewGameMode.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/StickerBookMode.h"
#include "game/screens/TitleMode.h"

#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ValueResources.h"
#include "graphics/Image.h"
#include "scene/RadioButtonNode.h"

#include "GameOnXServerFixture.h"
#include "RestingMouse.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace Yardcrew;
using namespace Strata;
using namespace std::chrono_literals;
using LiveGame::Top;
using LiveGame::TopNode;

namespace
{

// What a step waits for, where it puts the pointer and which picture must show there, then what it does.
struct sPointerStep
{
    std::string name; // also the screenshot's, when `shot`
    std::function<bool()> ready;
    Vector2<int> pointer{-1, -1};                                 // none: no pointer check
    std::function<std::pair<const char*, const char*>()> picture; // image and hot-spot constant
    std::function<void()> act;
    bool shot = false;
};

std::pair<const char*, const char*> DefaultPointer()
{
    return {MiniGameContent::kDefaultCursor.name, MiniGameContent::kDefaultCursorHotSpot.name};
}

void ClickNode(SceneNode* node)
{
    ASSERT_NE(node, nullptr);
    const Rect<float> bounds = node->GlobalGetBounds();
    const Vector2<int> at = LiveGame::WindowPoint(static_cast<int>(bounds.x + bounds.width / 2),
                                                  static_cast<int>(bounds.y + bounds.height / 2));
    LiveGame::PushPointer(at.x, at.y, true);
}

std::function<void()> ClickOn(const char* name)
{
    return [name] { ClickNode(TopNode(name)); };
}

std::function<bool()> Checked(const char* name)
{
    return [name]
    {
        auto* radio = TopNode<RadioButtonNode>(name);
        return radio != nullptr && radio->IsChecked();
    };
}

class GamePointerTest : public GameOnXServerFixture
{
protected:
    void SetUp() override
    {
        StartGame("menagerie_game_tests", 59, ScreenSize());
        if (IsSkipped())
            return;
        mDeadline = std::chrono::steady_clock::now() + 240s;
    }

    // The X server's screen, which the full-screen game fills.
    virtual const char* ScreenSize() const { return "800x600x24"; }

    // Every opaque pixel of the picture is on the window with its hot spot at the pointer, and the
    // system's arrow is hidden.
    ::testing::AssertionResult ShowsPointer(Vector2<int> pointer, const char* image, const char* hotSpotName)
    {
        const AutoResource<IImage> picture(image);
        const Constant<Vector2<int>> hotSpot(hotSpotName);
        auto* pixels = dynamic_cast<Image*>(picture.Get());
        if (pixels == nullptr || !hotSpot.IsValid())
            return ::testing::AssertionFailure() << "no " << image << " or " << hotSpotName;
        if (SDL_ShowCursor(SDL_QUERY) != SDL_DISABLE)
            return ::testing::AssertionFailure() << "the system's arrow shows beside " << image;
        int width = 0, height = 0;
        const std::vector<Color32> window = WindowPixels(&width, &height);
        // Scaled into a letterbox, a pixel at a colour's edge may take its neighbour's colour: only those
        // within a patch of their own colour are judged then.
        const bool scaled = width != Linux::kFrameWidth || height != Linux::kFrameHeight;
        const auto uniform = [&](int x, int y)
        {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                {
                    const int nx = std::clamp(x + dx, 0, pixels->GetWidth() - 1);
                    const int ny = std::clamp(y + dy, 0, pixels->GetHeight() - 1);
                    if (pixels->GetPixel(nx, ny) != pixels->GetPixel(x, y))
                        return false;
                }
            return true;
        };
        int opaque = 0;
        for (int y = 0; y < pixels->GetHeight(); ++y)
            for (int x = 0; x < pixels->GetWidth(); ++x)
            {
                const Color32 want = pixels->GetPixel(x, y);
                if (scaled && !uniform(x, y))
                    continue;
                const Vector2<int> at =
                    LiveGame::WindowPoint(pointer.x - hotSpot.GetValue().x + x, pointer.y - hotSpot.GetValue().y + y);
                if (want.a != 255 || at.x < 0 || at.y < 0 || at.x >= width || at.y >= height)
                    continue;
                ++opaque;
                const Color32 seen = window[static_cast<size_t>(at.y) * width + at.x];
                if (seen.r != want.r || seen.g != want.g || seen.b != want.b)
                    return ::testing::AssertionFailure()
                           << image << "'s pixel " << x << "," << y << " is not at " << at.x << "," << at.y;
            }
        if (opaque == 0)
            return ::testing::AssertionFailure() << image << " has nothing to see";
        return ::testing::AssertionSuccess();
    }

    void Screenshot(const std::string& name)
    {
        int width = 0, height = 0;
        const std::vector<unsigned char> rgb = WindowRGB(&width, &height);
        const std::string path = ShotPath(name);
        EXPECT_NE(stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3), 0) << path;
    }

    void OnFrame() override
    {
        if (std::chrono::steady_clock::now() > mDeadline)
        {
            ADD_FAILURE() << "stuck waiting for: " << (mNext < steps.size() ? steps[mNext].name : "the end");
            mNext = steps.size();
        }
        if (mNext >= steps.size())
        {
            MainLoop::Exit();
            return;
        }
        sPointerStep& step = steps[mNext];
        if (mSettle == 0 && !step.ready())
            return;
        if (const auto found = where.find(step.name); mSettle == 0 && found != where.end())
            step.pointer = found->second();
        if (step.pointer.x >= 0)
        {
            // The pointer is moved once the step is ready, and judged once the screen has settled.
            if (mSettle == 0)
            {
                const Vector2<int> at = LiveGame::WindowPoint(step.pointer.x, step.pointer.y);
                LiveGame::PushPointer(at.x, at.y, false);
            }
            // Scaled into a letterbox, the window's pixel may map back a pixel beside the one asked for.
            const Vector2<int> mouse = MainLoop::GetLastMousePos();
            if (++mSettle < 15 || std::abs(mouse.x - step.pointer.x) > 1 || std::abs(mouse.y - step.pointer.y) > 1)
                return;
            const auto [image, hotSpot] = step.picture();
            EXPECT_TRUE(ShowsPointer(mouse, image, hotSpot)) << step.name;
            if (step.shot)
                Screenshot(step.name);
        }
        mSettle = 0;
        if (step.act)
            step.act();
        ++mNext;
    }

    void Play()
    {
        ASSERT_NO_THROW({
            mClock = kStart;
            MainLoop::Execute();
        });
        EXPECT_EQ(mNext, steps.size());
    }

    std::chrono::steady_clock::time_point mDeadline;
    size_t mNext = 0;
    int mSettle = 0;
    std::vector<sPointerStep> steps;
    // Where the pointer goes, by step name, when only the screen can say; overrides the step's.
    std::map<std::string, std::function<Vector2<int>()>> where;
};

// A file name from a game's Label: "PaintIt" -> "paint_it".
std::string ShotName(const char* label)
{
    std::string name = "pointer_";
    for (const char* c = label; *c != '\0'; ++c)
    {
        if (std::isupper(static_cast<unsigned char>(*c)) && c != label)
            name += '_';
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    }
    return name;
}

TEST_F(GamePointerTest, EveryScreenAndEveryGameShowsTheGamesOwnPointerAtTheMouseAndNoSystemArrow)
{
    const auto title = [] { return Top<TitleMode>() != nullptr; };
    const auto menu = [] { return Top<MainMenuMode>() != nullptr; };
    steps = {
        // A profile saved by a build that wrote the pointer pictures off for everyone, entered anew.
        {"old profile",
         title,
         {-1, -1},
         nullptr,
         [this]
         {
             Account* account = GetAccountManager()->GetCurrentAccount();
             ASSERT_NE(account, nullptr);
             ASSERT_TRUE(account->WriteValue(L"Strata::Window::IsCustomCursorEnabled", false));
             account->DeleteValue(L"Strata::Window::CustomCursorVersion");
             mApplication->OnAfterAccountChange();
             EXPECT_TRUE(Window::IsCustomCursorEnabled());
         }},
        {"pointer_title", title, {250, 210}, DefaultPointer, ClickOn("StartButton"), true},
        {"profiles", [] { return Top<MyAccountMode>() != nullptr; }, {300, 120}, DefaultPointer, ClickOn("Profile1")},
        {"profile 1", Checked("Profile1"), {-1, -1}, nullptr, ClickOn("PlayButton")},
        {"pointer_menu", menu, {160, 150}, DefaultPointer, ClickOn("StickerBookButton"), true},
        {"sticker book",
         [] { return Top<StickerBookMode>() != nullptr; },
         {300, 200},
         DefaultPointer,
         ClickOn("BackButton")},
    };
    bool first = true;
    for (const sGameRegistration& game : GetRegisteredGames())
    {
        ASSERT_NE(game.description, nullptr) << game.label;
        const char* label = game.label;
        const auto own = [description = game.description]
        { return std::pair<const char*, const char*>(description->cursor, description->cursorHotSpot); };
        const auto inGame = [] { return Top<YardcrewGameMode>() != nullptr; };
        std::function<bool()> playing = inGame;
        // The cargo game is shot once its train stands at the loads, as a child plays it.
        if (std::strcmp(label, "HaulersDelivery") == 0)
            playing = []
            {
                const SceneNode* train = Top<YardcrewGameMode>() != nullptr ? PlayfieldNode("CargoRoot") : nullptr;
                return train != nullptr && train->LocalGetLocation().x == 0.0f;
            };
        const std::vector<sPointerStep> more = {
            {std::string(label) + " menu", menu, {-1, -1}, nullptr, ClickOn("FreePlayButton")},
            {std::string(label) + " free play",
             [] { return Top<FreePlaySelectMode>() != nullptr; },
             {-1, -1},
             nullptr,
             ClickOn(label)},
            {std::string(label) + " difficulty",
             [] { return Top<DifficultySelectMode>() != nullptr; },
             {-1, -1},
             nullptr,
             ClickOn("Easy")},
            {std::string(label) + " chosen", Checked("Easy"), {-1, -1}, nullptr, ClickOn("PlayButton")},
            {std::string(label) + " instructions",
             [] { return Top<ForemanInstructionMode>() != nullptr; },
             {520, 120},
             DefaultPointer,
             ClickOn("SkipButton")},
            {ShotName(label), playing, {400, 330}, own, nullptr, true},
        };
        steps.insert(steps.end(), more.begin(), more.end());
        if (std::strcmp(label, "PaintIt") == 0)
        {
            // Clean before a pick (above); after a bucket press, that colour's brush at the pointer.
            steps.push_back({"bucket pressed",
                             inGame,
                             {-1, -1},
                             nullptr,
                             []
                             {
                                 auto* paint = Top<PaintTheHouseMode>();
                                 ASSERT_NE(paint, nullptr);
                                 ASSERT_FALSE(paint->getBuckets().empty());
                                 ClickNode(paint->getBuckets().front()->getImageNode());
                             }});
            steps.push_back({"pointer_paint_it_brush",
                             []
                             {
                                 auto* paint = Top<PaintTheHouseMode>();
                                 return paint != nullptr && paint->getSelectedColor() != HousePaintColor_None;
                             },
                             {150, 440},
                             []
                             {
                                 const HousePaintColor color = Top<PaintTheHouseMode>()->getSelectedColor();
                                 return std::pair<const char*, const char*>(PaintItContent::kBrushes[color].name,
                                                                            PaintItContent::kCursorHotSpot.name);
                             },
                             nullptr,
                             true});
        }
        if (std::strcmp(label, "HammerTheNail") == 0)
        {
            // The tool for a nail in hand, put on the nail: its tip or jaw is at the pointer.
            steps.push_back({"tool picked up",
                             inGame,
                             {-1, -1},
                             nullptr,
                             []
                             {
                                 auto* hammer = Top<HammerTheNailMode>();
                                 for (DraggableTool* tool : hammer->getTools())
                                     if (hammer->getNails().back()->fits(*tool))
                                         return ClickNode(tool->getShapeNode());
                                 ADD_FAILURE() << "no tool for the nail";
                             }});
            sPointerStep onScrew{"pointer_hammer_the_nail_tool",
                                 []
                                 {
                                     return Top<HammerTheNailMode>()->getTools().front()->isHeld() ||
                                            Top<HammerTheNailMode>()->getTools().back()->isHeld();
                                 },
                                 {-1, -1},
                                 own,
                                 nullptr,
                                 true};
            where[onScrew.name] = []
            {
                const Rect<float> nail = Top<HammerTheNailMode>()->getNails().back()->getShapeNode()->GlobalGetBounds();
                return Vector2<int>(static_cast<int>(nail.x + nail.width / 2),
                                    static_cast<int>(nail.y + nail.height / 2));
            };
            steps.push_back(onScrew);
        }
        steps.push_back({std::string(label) + " quit", inGame, {-1, -1}, nullptr, ClickOn("QuitButton")});
        steps.push_back({first ? "pointer_quit_question" : std::string(label) + " quit question",
                         [] { return Top<QuitConfirmMode>() != nullptr; },
                         {400, 250},
                         DefaultPointer,
                         ClickOn("YesButton"),
                         first});
        first = false;
    }
    Play();
}

class GamePointerLetterboxedTest : public GamePointerTest
{
protected:
    const char* ScreenSize() const override { return "1280x800x24"; }
};

// Ready once the step was looked at `frames` times.
std::function<bool()> After(int frames)
{
    return [frames, seen = 0]() mutable { return ++seen >= frames; };
}

TEST_F(GamePointerLetterboxedTest, OnAWideScreenThePointerIsAtTheMouseInsideTheLetterbox)
{
    const auto title = [] { return Top<TitleMode>() != nullptr; };
    steps = {
        {"title, top left", title, {20, 30}, DefaultPointer, nullptr},
        {"title, bottom right",
         title,
         {770, 560},
         DefaultPointer,
         // On to the left bar, beside the frame.
         [] { LiveGame::PushPointer(10, 400, false); }},
        {"the system's arrow over the bar",
         [] { return MainLoop::GetLastMousePos().x < 0 && SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; },
         {-1, -1},
         nullptr,
         nullptr},
        {"title", title, {250, 210}, DefaultPointer, ClickOn("StartButton")},
        {"profiles", [] { return Top<MyAccountMode>() != nullptr; }, {300, 120}, DefaultPointer, nullptr},
    };
    Play();
}

class GamePointerTallScreenTest : public GamePointerTest
{
protected:
    const char* ScreenSize() const override { return "1280x1024x24"; }
};

TEST_F(GamePointerTallScreenTest, OnATallScreenThePointerIsInsideTheFrameAndTheSystemArrowOnTheBottomBar)
{
    const auto title = [] { return Top<TitleMode>() != nullptr; };
    steps = {
        {"title, bottom edge",
         title,
         {400, 560},
         DefaultPointer,
         // On to the bar below the frame.
         [] { LiveGame::PushPointer(640, 1015, false); }},
        {"the bottom bar",
         [] { return MainLoop::GetLastMousePos().y >= Linux::kFrameHeight; },
         {-1, -1},
         nullptr,
         [] { EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE) << "no pointer at all on the bottom bar"; }},
        {"title again", title, {400, 300}, DefaultPointer, nullptr},
    };
    Play();
}

// The mouse left still on a wide screen from before the start: no motion tells the game where it is.
class GamePointerAtRestTest : public GamePointerLetterboxedTest
{
protected:
    // Once `ready`, and through F11 twice, the pointer is drawn, and its place kept, where the mouse rests,
    // at each window's first frame and once it has settled; then `then`.
    void AddStillThroughF11Twice(const std::string& where, std::function<bool()> ready, std::function<void()> then)
    {
        const auto check = [this](const std::string& name)
        {
            return [this, name]
            {
                const Vector2<int> frame = RestingMouse::FrameAt(mRest);
                EXPECT_EQ(MainLoop::GetLastMousePos(), frame) << name;
                EXPECT_TRUE(ShowsPointer(frame, DefaultPointer().first, DefaultPointer().second)) << name;
            };
        };
        const auto inMode = [](int mode) { return [mode] { return Window::GetConfig().mode == mode; }; };
        const std::string stages[] = {where, where + ", windowed", where + ", full screen again"};
        const std::function<bool()> firstFrames[] = {ready, inMode(Window::WindowMode_Windowed),
                                                     inMode(Window::WindowMode_FullScreen)};
        for (int i = 0; i < 3; ++i)
        {
            steps.push_back({stages[i], firstFrames[i], {-1, -1}, nullptr, check(stages[i])});
            const auto settled = check(stages[i] + ", settled");
            const auto next = i < 2 ? [] { LiveGame::PressKey(SDLK_F11); } : then;
            steps.push_back({stages[i] + ", settled",
                             After(10),
                             {-1, -1},
                             nullptr,
                             [settled, next]
                             {
                                 settled();
                                 next();
                             }});
        }
    }

    Vector2<int> mRest{400, 200}; // on the X screen
};

// A press with no motion since the window changed takes the chooser's game under the mouse.
TEST_F(GamePointerAtRestTest, ThePointerAndAPressAreWhereTheStillMouseIsFromTheFirstFrameAndAfterF11Twice)
{
    const char* game = GetRegisteredGames().front().label;
    AddStillThroughF11Twice(
        "title", [] { return Top<TitleMode>() != nullptr; }, ClickOn("StartButton"));
    const std::vector<sPointerStep> toChooser = {
        {"profiles", [] { return Top<MyAccountMode>() != nullptr; }, {-1, -1}, nullptr, ClickOn("Profile1")},
        {"profile 1", Checked("Profile1"), {-1, -1}, nullptr, ClickOn("PlayButton")},
        {"menu", [] { return Top<MainMenuMode>() != nullptr; }, {-1, -1}, nullptr, ClickOn("FreePlayButton")},
        {"chooser",
         [] { return Top<FreePlaySelectMode>() != nullptr; },
         {-1, -1},
         nullptr,
         [this, game]
         {
             SceneNode* button = TopNode(game);
             ASSERT_NE(button, nullptr);
             const Rect<float> bounds = button->GlobalGetBounds();
             // The full-screen window fills the X screen from its top left corner.
             mRest = LiveGame::WindowPoint(static_cast<int>(bounds.x + bounds.width / 2),
                                           static_cast<int>(bounds.y + bounds.height / 2));
             RestingMouse::PutAt(mRest);
         }},
    };
    steps.insert(steps.end(), toChooser.begin(), toChooser.end());
    AddStillThroughF11Twice(
        "the mouse on a game", [this] { return MainLoop::GetLastMousePos() == RestingMouse::FrameAt(mRest); },
        &RestingMouse::Click);
    steps.push_back({"the game under the mouse",
                     [waited = 0]() mutable { return Top<FreePlaySelectMode>() == nullptr || ++waited > 50; },
                     {-1, -1},
                     nullptr,
                     [game]
                     {
                         auto* difficulty = Top<DifficultySelectMode>();
                         ASSERT_NE(difficulty, nullptr) << "the press took nothing";
                         EXPECT_EQ(difficulty->getGame(), FreePlaySelectMode::gameTypeOfButton(Label(game)));
                     }});
    RestingMouse::PutAt(mRest);
    Play();
}

} // namespace
