// The play-flow screens built from the committed data/, as the game builds them: every node the code
// looks for is there and every button has its pictures, in both languages. The screens are drawn on the
// software canvas; with $MENAGERIE_SCREENSHOT_DIR set they are written there as PNG files.

#include "game/screens/DifficultySelectMode.h"
#include "game/screens/FreePlaySelectMode.h"
#include "game/screens/QuitConfirmMode.h"
#include "game/screens/StickerUnlockMode.h"

#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/FileSource.h"
#include "framework/MainLoop.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "graphics/SoftwareCanvas.h"
#include "platform/linux/FileSystemPartition.h"
#include "scene/ButtonNode.h"
#include "scene/NodePath.h"
#include "scene/RadioButtonNode.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"
#include "scene/StrataExtensions.h"
#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace Strata;

namespace
{

class PlayFlowScreensDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Internal::DeleteAllSingletons();
        auto* fileSystem = new FileSystem();
        fileSystem->AddFileSystemPartition(FileSystemPartition_Resources,
                                           new Linux::FileSystemPartition(MENAGERIE_DATA_DIR));
        fileSystem->AddFileSystemPartition(FileSystemPartition_User, new Testing::MemoryFileSystemPartition(L"user"));
        files.reset(CreateDefaultFileSource());
        RegisterSingleton(files.get());
        ResourceManager* manager = GetResourceManager();
        manager->AddResourceFactory(L"image", new ImageResourceFactory());
        RegisterImageListResourceFactories();
        CreateConstantResourceFactories();
        SetupStrataExtensions();
        for (const wchar_t* manifest :
             {L"GlobalConstants", L"resources", L"Generic", L"StickerBook", L"LocalizedImageResources",
              L"LocalizedImageResources_SP", L"GameSelect", L"FreePlaySelect", L"DifficultyOptionsQuit"})
            ASSERT_TRUE(manager->Load(manifest)->IsComplete()) << manifest;
        if (!GetAccountManager()->IsExistingAccount(L"Player"))
        {
            ASSERT_NE(GetAccountManager()->NewAccount(L"Player"), nullptr);
        }
        ASSERT_TRUE(GetAccountManager()->SetCurrentAccount(L"Player"));
        GetLevelManager().setModeQueue({[](auto) {}, [](auto) {}, [] {}});
        GetLevelManager().setGameModeConstructor(GameModeType_PaintIt, [](Label) { return nullptr; });
    }

    void TearDown() override
    {
        GetLevelManager().setModeQueue({});
        GetLevelManager().setGameModeConstructor(GameModeType_PaintIt, nullptr);
        GetResourceManager()->Cleanup();
        Internal::DeleteAllSingletons();
        files.reset();
    }

    // Sets the screen up and draws it over the sky the menus stand on; the picture goes to the
    // screenshot folder when there is one. False when nothing but the sky was drawn.
    bool Show(SceneApplicationMode& mode, const std::string& name)
    {
        MainLoop::AutoContext context;
        MainLoop::WithinContext(&mode, context);
        mode.Setup();
        mode.Enter();
        mode.Update(0.0f);
        Image target(800, 600);
        ICanvas* canvas = Graphics::CreateImageCanvas(&target);
        Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
        state.color = ColorF(0.56f, 0.83f, 0.96f, 1.0f);
        Graphics::DrawFilledRect(Rect<int>(0, 0, 800, 600), state, canvas);
        const Color32 sky = target.GetPixel(0, 0);
        Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
        mode.Draw();
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(canvas);
        check(mode.GetRootNode());
        mode.Destroy();

        if (const char* folder = std::getenv("MENAGERIE_SCREENSHOT_DIR"))
        {
            std::vector<unsigned char> rgba;
            for (int y = 0; y < 600; ++y)
                for (int x = 0; x < 800; ++x)
                {
                    const Color32 pixel = target.GetPixel(x, y);
                    rgba.insert(rgba.end(), {pixel.r, pixel.g, pixel.b, 255});
                }
            EXPECT_NE(
                stbi_write_png((std::string(folder) + "/" + name + ".png").c_str(), 800, 600, 4, rgba.data(), 800 * 4),
                0);
        }
        return target.GetPixel(400, 300) != sky || target.GetPixel(100, 100) != sky;
    }

    // Every button and radio button below `node` has its pictures, and every picture its image.
    static void CheckPictures(SceneNode* node, int& buttons)
    {
        if (node == nullptr)
            return;
        if (auto* button = dynamic_cast<ButtonNode*>(node))
        {
            ++buttons;
            EXPECT_NE(button->GetImages(), nullptr) << button->GetName().c_str();
            EXPECT_GE(button->GetHeight(), 64.0f) << button->GetName().c_str() << " is too small for a child";
        }
        if (auto* radio = dynamic_cast<RadioButtonNode*>(node))
        {
            ++buttons;
            EXPECT_GE(radio->GetHeight(), 64.0f) << radio->GetName().c_str();
        }
        if (auto* sprite = dynamic_cast<StaticSpriteNode*>(node); sprite && sprite->GlobalIsVisible())
        {
            EXPECT_NE(sprite->GetImage(), nullptr) << sprite->GetName().c_str();
        }
        for (SceneNode* child : node->GetChildren())
            CheckPictures(child, buttons);
    }

    std::function<void(SceneNode*)> check = [](SceneNode*) {};
    std::unique_ptr<IFileSource> files;
};

TEST_F(PlayFlowScreensDataTest, EveryScreenIsBuiltFromDataInBothLanguages)
{
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

} // namespace
