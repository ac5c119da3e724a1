#pragma once

// What the game's screenshot tools share: the data folder loaded through the engine's own loaders, a
// scene mode stepped as the main loop steps it, and its frame drawn on the software canvas into a PNG.
// Include once, in the tool's only source (it holds stb_image_write's implementation).

#include "core/FileSystem.h"
#include "core/Random.h"
#include "core/Singleton.h"
#include "framework/FileSource.h"
#include "framework/MainLoop.h"
#include "framework/ResourceLoading.h"
#include "framework/ResourceManager.h"
#include "framework/ValueResources.h"
#include "game/GameRegistry.h"
#include "game/LevelManager.h"
#include "game/MiniGamePattern.h"
#include "graphics/Context.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"
#include "graphics/SoftwareCanvas.h"
#include "platform/linux/FileSystemPartition.h"
#include "scene/NodePath.h"
#include "scene/PressableNode.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SpriteNodes.h"
#include "scene/StrataExtensions.h"

#include "GameSession.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace GameShots
{

using namespace Strata;

inline bool WritePNG(const Image& image, const std::string& path)
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

inline bool Shoot(SceneApplicationMode& game, const std::filesystem::path& path)
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

// The game with its instruction pop-up over it, as a player of that language ("EN" or "SP") first meets
// it: the foreman's pose for the game (frame 1 + the game's type) and the skip button in the language's
// words. The pop-up stays in the game's tree, so shoot this last. False when its art does not load.
inline bool ShootInstructions(SceneApplicationMode& game, Yardcrew::GameModeType type, const std::string& language,
                              const std::filesystem::path& path)
{
    // Both languages' words have their own names ("..._EN", "..._SP"), so both load side by side.
    for (const wchar_t* manifest :
         {L"ForemanInstructionMode", L"LocalizedImageResources", L"LocalizedImageResources_SP"})
        if (GetResourceManager()->Load(manifest)->GetStatus() != eLoadingJobStatus::Complete)
            return false;
    const SceneLayout* layout = AutoResource<SceneLayout>("ForemanInstructionModeLayout").Get();
    SceneNode* popup = layout != nullptr ? layout->InstantiateLayout(&game, game.GetRootNode()) : nullptr;
    if (popup == nullptr)
        return false;
    const NodePathStep foremanPath[] = {"LevelIntroForeman", NodePathTerminator()};
    const NodePathStep skipPath[] = {"SkipButton", NodePathTerminator()};
    auto* foreman = dynamic_cast<AnimatedSpriteNode*>(popup->GetDescendent(foremanPath));
    auto* skip = dynamic_cast<PressableNode*>(popup->GetDescendent(skipPath));
    const AutoResource<IImageList> words("Button_SkipCutscene_" + language);
    if (foreman == nullptr || skip == nullptr || words.Get() == nullptr)
        return false;
    foreman->SetFrameIndex(1 + static_cast<int>(type));
    skip->SetImages(words.Get(), 0.0f, words.GetDescriptor());
    return Shoot(game, path);
}

// The tool's arguments: the data folder and the output folder, which is made. False, with the usage
// printed, unless there are just those two.
inline bool Folders(int argc, char** argv, const char* tool, std::filesystem::path& data, std::filesystem::path& out)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s <data folder> <output folder>\n", tool);
        return false;
    }
    data = argv[1];
    out = argv[2];
    std::filesystem::create_directories(out);
    return true;
}

// The pointer moves to the middle of the node; where it is now.
inline Vector2<int> PointAt(SceneApplicationMode& game, SceneNode* node)
{
    const Rect<float> bounds = node->GlobalGetBounds();
    const Vector2<int> at(static_cast<int>(bounds.x + bounds.width / 2),
                          static_cast<int>(bounds.y + bounds.height / 2));
    game.OnMouseMove(at.x, at.y);
    return at;
}

// A click at the middle of the node: the pointer moves there, presses and lets go.
inline void Press(SceneApplicationMode& game, SceneNode* node)
{
    const Vector2<int> at = PointAt(game, node);
    game.OnMouseDown(MouseButton_Left, at.x, at.y);
    game.OnMouseUp(MouseButton_Left, at.x, at.y);
}

// The game made the main loop's current mode, set up and entered, as the main loop starts a mode; it
// stays current while this lives.
class Running
{
public:
    explicit Running(SceneApplicationMode& game)
    {
        MainLoop::WithinContext(&game, mContext);
        game.Setup();
        game.Enter();
    }

private:
    MainLoop::AutoContext mContext;
};

// Steps the game as the main loop does (20 ms) until the condition holds; false after two minutes.
inline bool StepUntil(SceneApplicationMode& game, const std::function<bool()>& condition)
{
    for (int step = 0; step < 6000 && !condition(); ++step)
        game.Update(0.02f);
    return condition();
}

// How far the node is turned from upright, either way, in degrees.
inline float TurnedDegrees(const SceneNode& node)
{
    const float degrees = node.LocalGetOrientation().Wrap().GetValue() * 180.0f / Angle::pi();
    return std::min(degrees, 360.0f - degrees);
}

// Whether the game's input mask at that path from the scene root is there and down.
inline bool MaskOpen(const char* mask)
{
    const SceneNode* node = mask != nullptr ? Yardcrew::PlayfieldNode(mask) : nullptr;
    return node != nullptr && !node->LocalIsVisible();
}

// A tool's start: its two folders from the command line, then the session over the data folder with the
// game's level reader (`levels`, taken) and manifest, made in `session`. 0 when the tool can go on;
// otherwise its exit code: 2 without the folders, 1 when the data does not load.
inline int Open(int argc, char** argv, const char* tool, const wchar_t* levelTag, IResourceFactory* levels,
                const wchar_t* manifest, std::filesystem::path& out, std::optional<Session>& session)
{
    std::unique_ptr<IResourceFactory> reader(levels);
    std::filesystem::path data;
    if (!Folders(argc, argv, tool, data, out))
        return 2;
    session.emplace(tool, data, levelTag, reader.release(),
                    std::initializer_list<const wchar_t*>{L"GlobalConstants", L"DifficultyOptionsQuit", manifest});
    return session->IsLoaded() ? 0 : 1;
}

// The same for a registered game, whose registration names its level reader, tag and manifest.
inline int Open(int argc, char** argv, const char* tool, Yardcrew::GameModeType type, std::filesystem::path& out,
                std::optional<Session>& session)
{
    const Yardcrew::sGameRegistration* game = Yardcrew::FindRegisteredGame(type);
    if (game == nullptr)
        return 1;
    return Open(argc, argv, tool, game->levelTag, game->makeLevelReader().release(), game->manifest, out, session);
}

} // namespace GameShots
