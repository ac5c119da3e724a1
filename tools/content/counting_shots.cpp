// Draws the counting game through the game's own mode, the engine's loaders and the software canvas,
// stepped as the main loop steps it: at each difficulty once the tipper has asked
// (docs/counting/<difficulty>.png), and the right pile's trip at its moments (Win_<n>.png).
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
#include "game/CountTheMaterials/DraggableMaterial.h"
#include "game/CountTheMaterials/MaterialLoader.h"
#include "game/CountTheMaterials/MaterialTarget.h"
#include "game/LevelManager.h"
#include "graphics/Context.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "graphics/SoftwareCanvas.h"
#include "platform/linux/FileSystemPartition.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"
#include "scene/StrataExtensions.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <functional>
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

bool Shoot(CountTheMaterialsMode& game, const std::filesystem::path& path)
{
    Image target(800, 600);
    ICanvas* canvas = Graphics::CreateImageCanvas(&target);
    Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
    game.GetRootNode()->UpdateScene();
    game.GetRootNode()->DrawScene();
    Graphics::PopContext();
    Graphics::DestroyImageCanvas(canvas);
    return WritePNG(target, path.string());
}

// Steps the game as the main loop does (20 ms) until the condition holds; false after two minutes.
bool StepUntil(CountTheMaterialsMode& game, const std::function<bool()>& condition)
{
    for (int step = 0; step < 6000 && !condition(); ++step)
        game.Update(0.02f);
    return condition();
}

bool Settled(CountTheMaterialsMode& game)
{
    const NodePathStep maskPath[] = {"GameScreenRoot", "Playfield", "Material_ClickMask", NodePathTerminator()};
    const SceneNode* mask = RootDescendent(maskPath);
    MaterialTarget* tipper = game.getTipper();
    MaterialLoader* digger = game.getDigger();
    return mask != nullptr && !mask->LocalIsVisible() && tipper != nullptr && digger != nullptr &&
           tipper->getRequestBox()->LocalIsVisible() && tipper->GetNode()->GetTaskQueue().IsEmpty() &&
           digger->GetNode()->GetTaskQueue().IsEmpty();
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
    RegisterFontResourceFactory();
    CreateConstantResourceFactories();
    SetupStrataExtensions();
    manager->AddResourceFactory(L"CountTheMaterialsLevel", new CountTheMaterialsLevelResourceFactory());
    for (const wchar_t* manifest : {L"GlobalConstants", L"DifficultyOptionsQuit", L"CountTheMaterialsMode"})
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
        game.Enter();
        written = StepUntil(game, [&] { return Settled(game); }) && written;
        // The pointer rests on the first pile, which glows.
        if (DraggableMaterial* pile = game.getPile(0))
        {
            const Rect<float> bounds = pile->getImageNode()->GlobalGetBounds();
            game.OnMouseMove(static_cast<int>(bounds.x + bounds.width / 2),
                             static_cast<int>(bounds.y + bounds.height / 2));
        }
        written = Shoot(game, out / (std::string(kGameModeDifficultyNames[d]) + ".png")) && written;
        if (d != GameModeDifficulty_Medium)
            continue;

        // The right pile's trip: lifted, carried round, dropped into the cart.
        DraggableMaterial* right = nullptr;
        for (size_t place = 0; game.getPile(place) != nullptr; ++place)
        {
            DraggableMaterial* pile = game.getPile(place);
            if (pile->getMaterial() == game.getTipper()->getRequestedMaterial() &&
                pile->getNumber() == game.getTipper()->getRequestedNumber())
                right = pile;
        }
        if (right == nullptr)
            return 1;
        game.OnMouseMove(0, 0);
        game.MaterialClicked(right);
        SceneNode* load = right->GetNode();
        MaterialLoader* digger = game.getDigger();
        MaterialTarget* tipper = game.getTipper();
        const std::function<bool()> moments[] = {
            [&] { return load->GetParent() == digger->getAttachNode(false); },
            [&] { return digger->GetNode()->LocalGetLocation().x > 600.0f; },
            [&] {
                return load->GetParent() == digger->getAttachNode(true) &&
                       digger->GetNode()->LocalGetLocation().x < 700.0f;
            },
            [&] { return load->GetParent() == tipper->getCartNode(); },
            [&] { return tipper->getBackgroundNode()->LocalGetLocation().x > 300.0f; },
        };
        int shot = 1;
        for (const auto& moment : moments)
        {
            written = StepUntil(game, moment) && written;
            // A few steps more, so the animations started at that moment show.
            for (int step = 0; step < 5; ++step)
                game.Update(0.02f);
            written = Shoot(game, out / ("Win_" + std::to_string(shot++) + ".png")) && written;
        }
    }
    Random::Engine_Destroy();
    manager->Cleanup();
    files.reset();
    Internal::DeleteAllSingletons();
    return written ? 0 : 1;
}
