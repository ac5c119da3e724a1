#pragma once

// Screens built from the committed data/: the resource kinds the menus use, the manifests named, a
// "Player" profile on an in-memory user partition, and the screens drawn on the software canvas
// over the sky the menus stand on. With $MENAGERIE_SCREENSHOT_DIR set the pictures are written there
// as PNG files.

#include "core/FileSystem.h"
#include "core/Singleton.h"
#include "framework/AccountManager.h"
#include "framework/FileSource.h"
#include "framework/MainLoop.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "graphics/SoftwareCanvas.h"
#include "platform/linux/FileSystemPartition.h"
#include "scene/SceneApplicationMode.h"
#include "scene/StrataExtensions.h"
#include "support/MemoryFileSystemPartition.h"

#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace GameTesting
{

using namespace Yardcrew;

class ScreenDataTest : public ::testing::Test
{
protected:
    // Call first from SetUp, through ASSERT_NO_FATAL_FAILURE.
    void LoadData(std::initializer_list<const wchar_t*> manifests, bool fonts)
    {
        using namespace Strata;
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
        if (fonts)
            RegisterFontResourceFactory();
        CreateConstantResourceFactories();
        SetupStrataExtensions();
        for (const wchar_t* manifest : manifests)
            ASSERT_TRUE(manager->Load(manifest)->IsComplete()) << manifest;
        if (!GetAccountManager()->IsExistingAccount(L"Player"))
            ASSERT_NE(GetAccountManager()->NewAccount(L"Player"), nullptr);
        ASSERT_TRUE(GetAccountManager()->SetCurrentAccount(L"Player"));
    }

    void TearDown() override
    {
        Strata::GetResourceManager()->Cleanup();
        Strata::Internal::DeleteAllSingletons();
        files.reset();
    }

    // Sets the screen up and enters it, as the main loop does, within `context`.
    static void Start(Strata::SceneApplicationMode& mode, Strata::MainLoop::AutoContext& context)
    {
        Strata::MainLoop::WithinContext(&mode, context);
        mode.Setup();
        mode.Enter();
        mode.Update(0.0f);
    }

    // Draws the screen over the sky on an 800x600 `target`; returns the sky's own colour there.
    static Strata::Color32 DrawOverSky(Strata::SceneApplicationMode& mode, Strata::Image& target)
    {
        using namespace Strata;
        ICanvas* canvas = Graphics::CreateImageCanvas(&target);
        Graphics::sDrawState state = Graphics::sDrawState::GetDefaults();
        state.color = ColorF(0.56f, 0.83f, 0.96f, 1.0f);
        Graphics::DrawFilledRect(Rect<int>(0, 0, 800, 600), state, canvas);
        const Color32 sky = target.GetPixel(0, 0);
        Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
        mode.Draw();
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(canvas);
        return sky;
    }

    // Writes the 800x600 picture to the screenshot folder when there is one.
    static void SaveScreenshot(const Strata::Image& target, const std::string& name)
    {
        const char* folder = std::getenv("MENAGERIE_SCREENSHOT_DIR");
        if (folder == nullptr)
            return;
        std::vector<unsigned char> rgba;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
            {
                const Strata::Color32 pixel = target.GetPixel(x, y);
                rgba.insert(rgba.end(), {pixel.r, pixel.g, pixel.b, 255});
            }
        EXPECT_NE(
            stbi_write_png((std::string(folder) + "/" + name + ".png").c_str(), 800, 600, 4, rgba.data(), 800 * 4), 0);
    }

    std::unique_ptr<Strata::IFileSource> files;
};

} // namespace GameTesting
