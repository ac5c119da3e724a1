// The play-flow screens built from the committed data/, as the game builds them: every node the code
// looks for is there and every button has its pictures, in both languages. The screens are drawn on the
// software canvas; with $MENAGERIE_SCREENSHOT_DIR set they are written there as PNG files.

#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/screens/DifficultySelectMode.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/StickerUnlockMode.h"

#include "framework/Account.h"
#include "scene/ButtonNode.h"
#include "scene/NodePath.h"
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

class PlayFlowScreensDataTest : public GameTesting::ScreenDataTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(
            LoadData({L"GlobalConstants", L"resources", L"Generic", L"StickerBook", L"LocalizedImageResources",
                      L"LocalizedImageResources_SP", L"GameSelect", L"FreePlaySelect", L"DifficultyOptionsQuit"},
                     false));
        GetLevelManager().setModeQueue({[](auto) {}, [](auto) {}, [] {}});
        // Only the painting game has a mode, whatever an earlier test in this process registered.
        ForgetGameModes();
        GetLevelManager().setGameModeConstructor(GameModeType_PaintIt, [](Label) { return nullptr; });
    }

    void TearDown() override
    {
        GetLevelManager().setModeQueue({});
        ForgetGameModes();
        ScreenDataTest::TearDown();
    }

    static void ForgetGameModes()
    {
        for (const sGameRegistration& game : GetRegisteredGames())
            GetLevelManager().setGameModeConstructor(game.type, nullptr);
    }

    // Sets the screen up and draws it over the sky the menus stand on; the picture goes to the
    // screenshot folder when there is one. False when nothing but the sky was drawn.
    bool Show(SceneApplicationMode& mode, const std::string& name)
    {
        MainLoop::AutoContext context;
        Start(mode, context);
        Image target(800, 600);
        const Color32 sky = DrawOverSky(mode, target);
        check(mode.GetRootNode());
        mode.Destroy();
        SaveScreenshot(target, name);
        return target.GetPixel(400, 300) != sky || target.GetPixel(100, 100) != sky;
    }

    // Every button and radio button below `node` has its pictures, every game's button is live, and every
    // picture has its image.
    static void CheckPictures(SceneNode* node, int& buttons)
    {
        if (node == nullptr)
            return;
        if (auto* button = dynamic_cast<ButtonNode*>(node))
        {
            ++buttons;
            EXPECT_NE(button->GetImages(), nullptr) << button->GetName().c_str();
            EXPECT_GE(button->GetHeight(), 64.0f) << button->GetName().c_str() << " is too small for a child";
            // With every game installed, no game's button is greyed out.
            if (FindRegisteredGame(button->GetName()) != nullptr)
                EXPECT_TRUE(button->IsEnabled()) << button->GetName().c_str() << " is greyed out";
        }
        if (auto* radio = dynamic_cast<RadioButtonNode*>(node))
        {
            ++buttons;
            EXPECT_GE(radio->GetHeight(), 64.0f) << radio->GetName().c_str();
        }
        if (auto* sprite = dynamic_cast<StaticSpriteNode*>(node); sprite && sprite->GlobalIsVisible())
            EXPECT_NE(sprite->GetImage(), nullptr) << sprite->GetName().c_str();
        for (SceneNode* child : node->GetChildren())
            CheckPictures(child, buttons);
    }

    std::function<void(SceneNode*)> check = [](SceneNode*) {};
};

TEST_F(PlayFlowScreensDataTest, EveryScreenIsBuiltFromDataInBothLanguages)
{
    // Every game installed as the game installs them, so the chooser is drawn as a player sees it.
    InstallRegisteredGames(*GetResourceManager(), GetLevelManager());
    const struct
    {
        const char* name;
        std::function<std::unique_ptr<SceneApplicationMode>()> make;
        int buttons;
    } screens[] = {
        {"free_play_select", [] { return std::make_unique<FreePlaySelectMode>(); }, 13},
        {"difficulty_select", [] { return std::make_unique<DifficultySelectMode>(GameModeType_PaintIt); }, 5},
        {"quit_confirm", [] { return std::make_unique<QuitConfirmMode>(true); }, 2},
        {"quit_confirm_leave", [] { return std::make_unique<QuitConfirmMode>(false); }, 2},
        {"sticker_unlock", [] { return std::make_unique<StickerUnlockMode>(12); }, 1},
        {"sticker_book_complete", [] { return std::make_unique<StickerUnlockMode>(-1); }, 1},
    };
    for (const bool english : {true, false})
    {
        GetAccountManager()->GetCurrentAccount()->WriteValue(L"EnglishLanguage", english);
        for (const auto& screen : screens)
        {
            SCOPED_TRACE(std::string(screen.name) + (english ? " en" : " es"));
            int buttons = 0;
            check = [&](SceneNode* root) { CheckPictures(root, buttons); };
            const auto mode = screen.make();
            EXPECT_TRUE(Show(*mode, std::string(screen.name) + (english ? "" : "_es")));
            EXPECT_EQ(buttons, screen.buttons);
        }
    }
}

TEST_F(PlayFlowScreensDataTest, TheChooserHasAButtonForEveryGameNamedAfterItsLabel)
{
    FreePlaySelectMode chooser;
    MainLoop::AutoContext context;
    Start(chooser, context);
    for (const sGameRegistration& game : GetRegisteredGames())
    {
        const NodePathStep path[] = {"FreePlaySelect", game.label, NodePathTerminator()};
        auto* button = dynamic_cast<ButtonNode*>(chooser.GetRootNode()->GetDescendent(path));
        ASSERT_NE(button, nullptr) << game.label;
        // Only the stand-in painting game has a mode here; the others are greyed out.
        EXPECT_EQ(button->IsEnabled(), game.type == GameModeType_PaintIt) << game.label;
        EXPECT_EQ(FreePlaySelectMode::gameTypeOfButton(Label(game.label)), game.type);
    }
    chooser.Destroy();
}

} // namespace
