// The title, menu, profile, options and credits screens built from the committed data/ in both
// languages: every node the code looks for is there, every button is big and wears the words of the
// profile's language. With $MENAGERIE_SCREENSHOT_DIR set the screens are written there as PNG files.

#include "game/screens/CreditsMode.h"
#include "game/screens/MainMenuMode.h"
#include "game/screens/MyAccountMode.h"
#include "game/screens/MyOptionsMode.h"
#include "game/screens/TitleMode.h"

#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "framework/Account.h"
#include "framework/AccountManager.h"
#include "framework/FileSource.h"
#include "framework/MainLoop.h"
#include "framework/ResourceDescriptor.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "graphics/SoftwareCanvas.h"
#include "platform/linux/FileSystemPartition.h"
#include "scene/ButtonNode.h"
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

using namespace Strata;

namespace
{

class FrontScreensDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Internal::DeleteAllSingletons();
        auto* fileSystem = new FileSystem();
        fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, new Linux::FileSystemPartition(MENAGERIE_DATA_DIR));
        fileSystem->AddFileSystemPartition(FileSystemPartition_User, new Testing::MemoryFileSystemPartition(L"user"));
        files.reset(CreateDefaultFileSource());
        RegisterSingleton(files.get());
        ResourceManager* manager = GetResourceManager();
        manager->AddResourceFactory(L"image", new ImageResourceFactory());
        RegisterImageListResourceFactories();
        RegisterFontResourceFactory();
        CreateConstantResourceFactories();
        SetupStrataExtensions();
        for (const wchar_t* manifest : {L"GlobalConstants", L"resources", L"Generic", L"StickerBook",
                                        L"LocalizedImageResources", L"LocalizedImageResources_SP", L"TitleMainMenu",
                                        L"ProfileSelect", L"CreditsMode", L"DifficultyOptionsQuit"})
            ASSERT_TRUE(manager->Load(manifest)->IsComplete()) << manifest;
        if (!GetAccountManager()->IsExistingAccount(L"Player"))
        {
            ASSERT_NE(GetAccountManager()->NewAccount(L"Player"), nullptr);
        }
        ASSERT_TRUE(GetAccountManager()->SetCurrentAccount(L"Player"));
        GetAccountManager()->GetCurrentAccount()->WriteValue(L"AccountID", std::wstring(L"3"));
    }

    void TearDown() override
    {
        GetResourceManager()->Cleanup();
        Internal::DeleteAllSingletons();
        files.reset();
    }

    // Sets the screen up, checks its widgets and draws it; the picture goes to the screenshot folder
    // when there is one.
    void Show(SceneApplicationMode& mode, const std::string& name, const char* language, int buttons)
    {
        MainLoop::AutoContext context;
        MainLoop::WithinContext(&mode, context);
        mode.Setup();
        mode.Enter();
        mode.Update(0.0f);
        int found = 0;
        Check(mode.GetRootNode(), language, found);
        EXPECT_EQ(found, buttons);
        Image target(800, 600);
        ICanvas* canvas = Graphics::CreateImageCanvas(&target);
        Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
        state.color = ColorF(0.56f, 0.83f, 0.96f, 1.0f);
        Graphics::DrawFilledRect(Rect<int>(0, 0, 800, 600), state, canvas);
        Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
        mode.Draw();
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(canvas);
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
            EXPECT_NE(stbi_write_png((std::string(folder) + "/" + name + ".png").c_str(), 800, 600, 4, rgba.data(), 800 * 4),
                      0);
        }
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
            if (name != "ProfileButton")
            {
                EXPECT_EQ(button->GetImages(), words.Get()) << name;
            }
        }
        if (auto* radio = dynamic_cast<RadioButtonNode*>(node))
        {
            ++buttons;
            EXPECT_GE(radio->GetHeight(), 64.0f) << name;
        }
        if (auto* sprite = dynamic_cast<StaticSpriteNode*>(node))
        {
            EXPECT_NE(sprite->GetImage(), nullptr) << name;
        }
        for (SceneNode* child : node->GetChildren())
            Check(child, language, buttons);
    }

    std::unique_ptr<IFileSource> files;
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
