// One frame of a scene of 2,000 sprite-like nodes (each moves a little in its update; the tree is
// refreshed and drawn parent first onto the software canvas), against drawing the same images at the
// same places straight from a flat array with the same movement arithmetic. Reported as time per
// frame and as the ratio of the two.

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
        mTime += dt;
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

void BM_SceneGraphFrame(benchmark::State& state)
{
    const auto images = MakeImages();
    Canvas canvas;
    Graphics::PushContext(Graphics::Context{canvas.canvas, Graphics::sDrawState::GetDefaults()});
    {
        SceneApplicationMode mode;
        MainLoop::AutoContext guard;
        MainLoop::WithinContext(&mode, guard);
        mode.Setup();
        for (int group = 0; group < kGroups; ++group)
        {
            auto* layer = new SceneNode();
            layer->LocalSetLocation(static_cast<float>(group * 10), 0.0f);
            mode.GetRootNode()->AttachChild(layer);
            for (int i = 0; i < kSpritesPerGroup; ++i)
            {
                const int index = group * kSpritesPerGroup + i;
                layer->AttachChild(new SpriteNode(images[index % kImages].get(), index));
            }
            layer->AddToDatabase(&mode);
        }
        for (auto _ : state)
        {
            mode.Update(kStep);
            mode.Draw();
            benchmark::ClobberMemory();
        }
    }
    Graphics::PopContext();
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_SceneGraphFrame);

void BM_FlatArrayFrame(benchmark::State& state)
{
    const auto images = MakeImages();
    Canvas canvas;
    struct Sprite
    {
        IImage* image;
        int index;
        float time;
        Vector2<float> place;
    };
    std::vector<Sprite> sprites;
    for (int index = 0; index < kSprites; ++index)
        sprites.push_back(Sprite{images[index % kImages].get(), index, 0.0f, {}});
    const Graphics::sDrawState drawState = Graphics::sDrawState::GetDefaults();
    for (auto _ : state)
    {
        for (Sprite& sprite : sprites)
        {
            sprite.time += kStep;
            sprite.place = Place(sprite.index, sprite.time);
        }
        for (const Sprite& sprite : sprites)
        {
            const float x = sprite.place.x + static_cast<float>((sprite.index / kSpritesPerGroup) * 10);
            Graphics::DrawImage(sprite.image, std::floor(x + 0.5f), std::floor(sprite.place.y + 0.5f), drawState,
                                canvas.canvas);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSprites);
}
BENCHMARK(BM_FlatArrayFrame);

} // namespace

int main(int argc, char** argv)
{
    if (!InitializeBenchmarks(argc, argv))
        return 1;
    ResultReporter reporter;
    RunBenchmarks(reporter);

    const double scene = reporter.NanosecondsPerIteration("BM_SceneGraphFrame");
    const double flat = reporter.NanosecondsPerIteration("BM_FlatArrayFrame");
    std::printf("%d sprites. Scene graph frame (update, refresh, draw): %.1f us", kSprites, scene / 1000.0);
    if (flat > 0.0)
        std::printf(", %.2fx drawing from a flat array (%.1f us; goal at most 1.5x)", scene / flat, flat / 1000.0);
    std::printf(". Medians of %zu runs.\n", reporter.Repetitions("BM_SceneGraphFrame"));
    return 0;
}
