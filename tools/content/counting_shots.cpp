// Draws the counting game as it opens at each difficulty, through the game's own mode, the engine's
// loaders and the software canvas: docs/counting/<difficulty>.png.
//
//   counting_shots <data folder> <output folder>

#include "core/FileSystem.h"
#include "core/Random.h"
#include "core/Singleton.h"
#include "framework/FileSource.h"
#include "framework/MainLoop.h"
#include "framework/ResourceLoading.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "game/CountTheMaterials/CountTheMaterialsMode.h"
#include "game/LevelManager.h"
#include "graphics/Context.h"
#include "graphics/Image.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "graphics/SoftwareCanvas.h"
#include "platform/linux/FileSystemPartition.h"
#include "scene/SceneNode.h"
#include "scene/StrataExtensions.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace Strata;

namespace
{

bool WritePNG(const Image& image, const std::string& path)
{
    std::vector<unsigned char> rgba;
    for (int y = 0; y < image.GetHeight(); ++y)
    {
        for (int x = 0; x < image.GetWidth(); ++x)
        {
            const Color32 pixel = image.GetPixel(x, y);
            rgba.insert(rgba.end(), {pixel.r, pixel.g, pixel.b, pixel.a});
        }
    }
    stbi_write_png_compression_level = 9;
    return stbi_write_png(path.c_str(), image.GetWidth(), image.GetHeight(), 4, rgba.data(), image.GetWidth() * 4) != 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: counting_shots <data folder> <output folder>\n");
        return 2;
    }
    const std::filesystem::path data = argv[1];
    const std::filesystem::path out = argv[2];
    std::filesystem::create_directories(out);
    auto* fileSystem = new FileSystem();
    fileSystem->AddFileSystemPartition(FileSystemPartition_Resources, new Linux::FileSystemPartition(data.string()));
    std::unique_ptr<IFileSource> files(CreateDefaultFileSource());
    RegisterSingleton(files.get());
    ResourceManager* manager = GetResourceManager();
    manager->AddResourceFactory(L"image", new ImageResourceFactory());
    RegisterImageListResourceFactories();
    CreateConstantResourceFactories();
    SetupStrataExtensions();
    manager->AddResourceFactory(L"CountTheMaterialsLevel", new CountTheMaterialsLevelResourceFactory());
    for (const wchar_t* manifest : {L"GlobalConstants", L"CountTheMaterialsMode"})
    {
        if (manager->Load(manifest)->GetStatus() != eLoadingJobStatus::Complete)
        {
            std::fprintf(stderr, "counting_shots: manifest %ls did not load\n", manifest);
            return 1;
        }
    }
    Random::SetSeedOverride(3);
    Random::Engine_Setup();
    // The instruction pop-up is not part of the picture.
    GetLevelManager().setModeQueue(
        {[](std::unique_ptr<ApplicationMode>) {}, [](std::unique_ptr<ApplicationMode>) {}, [] {}});

    bool written = true;
    for (int d = 0; d < GameModeDifficulty_Count; ++d)
    {
        GetLevelManager().difficulty = static_cast<GameModeDifficulty>(d);
        CountTheMaterialsMode game(true, 0);
        MainLoop::AutoContext context;
        MainLoop::WithinContext(&game, context);
        game.Setup();
        Image target(800, 600);
        ICanvas* canvas = Graphics::CreateImageCanvas(&target);
        Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
        game.GetRootNode()->UpdateScene();
        game.GetRootNode()->DrawScene();
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(canvas);
        written = WritePNG(target, (out / (std::string(kGameModeDifficultyNames[d]) + ".png")).string()) && written;
    }
    Random::Engine_Destroy();
    manager->Cleanup();
    files.reset();
    Internal::DeleteAllSingletons();
    return written ? 0 : 1;
}
