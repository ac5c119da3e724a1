// The title, menu, profile, options and credits screens built from the committed data/ in both
// languages: every node the code looks for is there, every button is big and wears the words of the
// profile's language. With $MENAGERIE_SCREENSHOT_DIR set the screens are written there as PNG files.

#include "game/screens/AccountConfirmMode.h"
#include "game/screens/CreditsMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/MyOptionsMode.h"
#include "game/screens/StickerBookMode.h"
#include "game/screens/TitleMode.h"

#include "framework/Account.h"
#include "framework/ResourceDescriptor.h"
#include "game/LevelManager.h"
#include "graphics/ImageList.h"
#include "scene/ButtonNode.h"
#include "scene/RadioButtonNode.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"

#include "ScreenDataTestSupport.h"

#include <functional>
#include <memory>
#include <string>

using namespace Yardcrew;

using namespace Strata;

namespace
{

class FrontScreensDataTest : public GameTesting::ScreenDataTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(LoadData({L"GlobalConstants", L"resources", L"Generic", L"StickerBook",
                                          L"LocalizedImageResources", L"LocalizedImageResources_SP", L"TitleMainMenu",
                                          L"ProfileSelect", L"CreditsMode", L"DifficultyOptionsQuit"},
                                         true));
        GetAccountManager()->GetCurrentAccount()->WriteValue(L"AccountID", std::wstring(L"3"));
        // The menu shows the Stickers button as the game does, with a book to open.
        StoryScreenConstructors screens;
        screens.stickerBook = [] { return std::make_unique<StickerBookMode>(); };
        GetLevelManager().setStoryScreenConstructors(screens);
    }

    void TearDown() override
    {
        GetLevelManager().setStoryScreenConstructors({});
        ScreenDataTest::TearDown();
    }

    // Sets the screen up, checks its widgets and draws it; the picture goes to the screenshot folder
    // when there is one.
    void Show(SceneApplicationMode& mode, const std::string& name, const char* language, int buttons)
    {
        MainLoop::AutoContext context;
        Start(mode, context);
        int found = 0;
        Check(mode.GetRootNode(), language, found);
        EXPECT_EQ(found, buttons);
        Image target(800, 600);
        DrawOverSky(mode, target);
        mode.Destroy();
        SaveScreenshot(target, name);
    }

    // Buttons with words wear the list of the language; everything a child presses is at least 64 px high.
    static void Check(SceneNode* node, const char* language, int& buttons)
    {
        if (node == nullptr)
            return;
        const std::string name = node->GetName().IsNull() ? "" : node->GetName().c_str();
        if (auto* button = dynamic_cast<ButtonNode*>(node))
        {
            ++buttons;
            EXPECT_GE(button->GetHeight(), 64.0f) << name;
            ASSERT_NE(button->GetImages(), nullptr) << name;
            const AutoResource<IImageList> words("Button_" + name + language);
            // The profile picture and the answers' tick and cross carry no words.
            if (name != "ProfileButton" && name != "YesButton" && name != "NoButton")
                EXPECT_EQ(button->GetImages(), words.Get()) << name;
        }
        if (auto* radio = dynamic_cast<RadioButtonNode*>(node))
        {
            ++buttons;
            EXPECT_GE(radio->GetHeight(), 64.0f) << name;
        }
        if (auto* sprite = dynamic_cast<StaticSpriteNode*>(node))
            EXPECT_NE(sprite->GetImage(), nullptr) << name;
        for (SceneNode* child : node->GetChildren())
            Check(child, language, buttons);
    }
};

TEST_F(FrontScreensDataTest, EveryScreenIsBuiltFromDataInBothLanguages)
{
    const struct
    {
        const char* name;
        std::function<std::unique_ptr<SceneApplicationMode>()> make;
        int buttons;
    } screens[] = {
        {"title", [] { return std::make_unique<TitleMode>(); }, 1},
        {"main_menu", [] { return std::make_unique<MainMenuMode>(); }, 7},
        {"profiles", [] { return std::make_unique<MyAccountMode>(); }, 5},
        {"account_confirm", [] { return std::make_unique<AccountConfirmMode>(2); }, 2},
        {"options", [] { return std::make_unique<MyOptionsMode>(); }, 5},
        {"credits", [] { return std::make_unique<CreditsMode>(); }, 1},
    };
    for (const bool english : {true, false})
    {
        GetAccountManager()->GetCurrentAccount()->WriteValue(L"EnglishLanguage", english);
        for (const auto& screen : screens)
        {
            SCOPED_TRACE(std::string(screen.name) + (english ? " en" : " es"));
            const auto mode = screen.make();
            Show(*mode, std::string(screen.name) + (english ? "" : "_es"), english ? "_EN" : "_SP", screen.buttons);
        }
    }
}

} // namespace
