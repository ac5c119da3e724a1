// Frames of a scene of 2,000 sprite-like nodes (each moves a little in its update; the tree is refreshed
// and drawn parent first onto the software canvas), against drawing the same images at the same places
// straight from a flat array with the same movement arithmetic. Both sides draw the same frames, and
// their pixels are compared once before timing. Reported as time per frame and as the ratio of the two.

#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/SoftwareCanvas.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneNode.h"

#include "BenchReporter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace
{

using namespace Strata;

constexpr int kGroups = 40;
constexpr int kSpritesPerGroup = 50;
constexpr int kSprites = kGroups * kSpritesPerGroup;
constexpr int kImages = 8;
constexpr int kImageSize = 32;
constexpr float kStep = 0.02f;

// Images of a few colours with a transparent corner, so blending does real work.
std::vector<std::unique_ptr<Image>> MakeImages()
{
    std::vector<std::unique_ptr<Image>> images;
    for (int i = 0; i < kImages; ++i)
    {
        auto image = std::make_unique<Image>(kImageSize, kImageSize);
        for (int y = 0; y < kImageSize; ++y)
        {
            for (int x = 0; x < kImageSize; ++x)
            {
                const uint8_t alpha = (x + y < 8) ? 0 : 255;
                image->SetPixel(x, y,
                                Color32(static_cast<uint8_t>(i * 30), 128, static_cast<uint8_t>(255 - i * 30), alpha));
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}

// The place of sprite i at time t: a slow drift inside the frame.
Vector2<float> Place(int i, float t)
{
    const float x = static_cast<float>((i * 37) % 760) + t * static_cast<float>(i % 7);
    const float y = static_cast<float>((i * 53) % 560) + t * static_cast<float>(i % 5);
    return Vector2<float>(x - static_cast<float>((i / kSpritesPerGroup) * 10), y);
}

// One iteration of either side draws the same kFrames frames from time 0, so both sides do the same work
// whatever number of iterations the library picks.
constexpr int kFrames = 50;

class SpriteNode : public SceneNode
{
public:
    SpriteNode(IImage* image, int index) : mImage(image), mIndex(index)
    {
        SetWidth(static_cast<float>(kImageSize));
        SetHeight(static_cast<float>(kImageSize));
    }

    void Update(float dt) override
    {
        // The first frame of a run starts from time 0 again.
        mTime = dt == 0.0f ? 0.0f : mTime + dt;
        LocalSetLocation(Place(mIndex, mTime));
    }

    void DrawAt(const Vector2<float>& offset) override
    {
        if (GlobalIsVisible())
            DrawImage(mImage, offset, true);
    }

private:
    IImage* mImage;
    int mIndex;
    float mTime = 0.0f;
};

struct Canvas
{
    Canvas() : target(800, 600), canvas(Graphics::CreateImageCanvas(&target)) {}
    ~Canvas() { Graphics::DestroyImageCanvas(canvas); }
    Image target;
    Graphics::ICanvas* canvas;
};

// The step of frame f of a run: 0 first, so the sprites start over.
float StepOf(int frame)
{
    return frame == 0 ? 0.0f : kStep;
}

class SceneSide
{
public:
    explicit SceneSide(const std::vector<std::unique_ptr<Image>>& images)
    {
        MainLoop::WithinContext(&mMode, mGuard);
        mMode.Setup();
        for (int group = 0; group < kGroups; ++group)
        {
            auto* layer = new SceneNode();
            layer->LocalSetLocation(static_cast<float>(group * 10), 0.0f);
            mMode.GetRootNode()->AttachChild(layer);
            for (int i = 0; i < kSpritesPerGroup; ++i)
            {
                const int index = group * kSpritesPerGroup + i;
                layer->AttachChild(new SpriteNode(images[index % kImages].get(), index));
            }
            layer->AddToDatabase(&mMode);
        }
    }
    void Run()
    {
        for (int frame = 0; frame < kFrames; ++frame)
        {
            mMode.Update(StepOf(frame));
            mMode.Draw();
        }
    }
    const Image& Target() const { return mCanvas.target; }

private:
    // Drawn into while the mode lives.
    struct PushedCanvas : Canvas
    {
        PushedCanvas() { Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()}); }
        ~PushedCanvas() { Graphics::PopContext(); }
    };
    PushedCanvas mCanvas;
    SceneApplicationMode mMode;
    MainLoop::AutoContext mGuard;
};

class FlatSide
{
public:
    explicit FlatSide(const std::vector<std::unique_ptr<Image>>& images)
    {
        for (int index = 0; index < kSprites; ++index)
            mSprites.push_back(Sprite{images[index % kImages].get(), index, 0.0f, {}});
    }

    void Run()
    {
        for (int frame = 0; frame < kFrames; ++frame)
        {
            const float step = StepOf(frame);
            for (Sprite& sprite : mSprites)
            {
                sprite.time = step == 0.0f ? 0.0f : sprite.time + step;
                sprite.place = Place(sprite.index, sprite.time);
            }
            for (const Sprite& sprite : mSprites)
            {
                const float x = sprite.place.x + static_cast<float>((sprite.index / kSpritesPerGroup) * 10);
                Graphics::DrawImage(sprite.image, std::floor(x + 0.5f), std::floor(sprite.place.y + 0.5f), mDrawState,
                                    mCanvas.canvas);
            }
        }
    }
    const Image& Target() const { return mCanvas.target; }

private:
    struct Sprite
    {
        IImage* image;
        int index;
        float time;
        Vector2<float> place;
    };
    Canvas mCanvas;
    std::vector<Sprite> mSprites;
    const Graphics::sDrawState mDrawState = Graphics::sDrawState::GetDefaults();
};

void BM_SceneGraphFrames(benchmark::State& state)
{
    const auto images = MakeImages();
    SceneSide scene(images);
    for (auto _ : state)
    {
        scene.Run();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSprites * kFrames);
}
BENCHMARK(BM_SceneGraphFrames);

void BM_FlatArrayFrames(benchmark::State& state)
{
    const auto images = MakeImages();
    FlatSide flat(images);
    for (auto _ : state)
    {
        flat.Run();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSprites * kFrames);
}
BENCHMARK(BM_FlatArrayFrames);

// Both sides over one run of the frames, onto fresh canvases: the pixels must be the same, or the two
// sides do not do the same work and their ratio means nothing.
bool SameOutput()
{
    const auto images = MakeImages();
    SceneSide scene(images);
    FlatSide flat(images);
    scene.Run();
    flat.Run();
    const Image& a = scene.Target();
    const Image& b = flat.Target();
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (!(a.GetPixel(x, y) == b.GetPixel(x, y)))
            {
                std::fprintf(stderr, "The scene graph and the flat array drew different pixels, first at (%d, %d).\n",
                             x, y);
                return false;
            }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    if (!SameOutput())
        return 1;
    std::printf("The scene graph and the flat array drew the same pixels over %d frames.\n", kFrames);
    ResultReporter reporter;
    RunBenchmarks(reporter);

    const double scene = reporter.NanosecondsPerIteration("BM_SceneGraphFrames", eClock::CPU) / kFrames;
    const double flat = reporter.NanosecondsPerIteration("BM_FlatArrayFrames", eClock::CPU) / kFrames;
    std::printf("%d sprites, %s. Scene graph frame (update, refresh, draw): %.1f us", kSprites, ClockName(eClock::CPU),
                scene / 1000.0);
    if (flat > 0.0)
        std::printf(", %.2fx drawing from a flat array (%.1f us; goal at most 1.5x)", scene / flat, flat / 1000.0);
    std::printf(". Medians of %zu runs.\n", reporter.Repetitions("BM_SceneGraphFrames"));
    return 0;
}
