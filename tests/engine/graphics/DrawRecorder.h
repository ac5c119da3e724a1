#pragma once

// A canvas that records the image draws that reach it, for the brush and image-list tests, and small
// in-memory images to draw.

#include "graphics/Canvas.h"
#include "graphics/DrawState.h"
#include "graphics/Image.h"

#include <memory>
#include <vector>

namespace DrawRecorder
{

using namespace Strata;
using namespace Strata::Graphics;

struct Draw
{
    IImage* image = nullptr;
    bool stretched = false;
    float x = 0.0f;
    float y = 0.0f;
    Rect<int> destination; // stretched draws
    Rect<int> source;      // (0, 0, 0, 0) unless DrawFlag_SourceRect is set
    Rect<int> clip;
};

class RecordingCanvas final : public ICanvas, public IQuadDrawingCanvas
{
public:
    explicit RecordingCanvas(Rect<int> bounds = Rect<int>(0, 0, 4096, 4096)) : mBounds(bounds) {}

    Label GetKind() const override { return Label("RecordingCanvas"); }
    const Rect<int>& GetBounds() const override { return mBounds; }
    bool QueryInterface(Label name, void** out) override
    {
        return AnswerInterface<ICanvas>(this, name, out) || AnswerInterface<IQuadDrawingCanvas>(this, name, out);
    }

    int DrawFilledRect(const Rect<int>&, const sDrawState&) override { return 0; }
    int DrawFilledRect(const Rect<float>&, const sDrawState&) override { return 0; }
    int DrawImage(IImage* image, float x, float y, const sDrawState& state) override
    {
        Draw draw = Make(image, state);
        draw.x = x;
        draw.y = y;
        draws.push_back(draw);
        return 0;
    }
    int DrawStretchedImage(IImage* image, const Rect<int>& destination, const sDrawState& state) override
    {
        Draw draw = Make(image, state);
        draw.stretched = true;
        draw.destination = destination;
        draws.push_back(draw);
        return 0;
    }
    int DrawRotatedImage(IImage*, float, float, Angle, const sDrawState&) override { return 0; }
    int DrawStretchedRotatedImage(IImage*, const Rect<int>&, Angle, const sDrawState&) override { return 0; }
    int DrawPrimitive(PrimitiveKind, IImage*, int, const sPrimitiveVertex*, const sDrawState&) override { return 0; }

    std::vector<Draw> draws;

private:
    static Draw Make(IImage* image, const sDrawState& state)
    {
        Draw draw;
        draw.image = image;
        if (state.flags & DrawFlag_SourceRect)
            draw.source = state.sourceRect;
        draw.clip = state.clipRect;
        return draw;
    }

    Rect<int> mBounds;
};

// A width x height image of one colour.
inline std::unique_ptr<Image> Solid(int width, int height, Color32 color = Color32(255, 255, 255, 255))
{
    return std::make_unique<Image>(std::vector<Color32>(static_cast<size_t>(width) * height, color), width, height,
                                   true, false);
}

// The default state without blending, so drawn pixels are copied exactly.
inline sDrawState CopyState()
{
    sDrawState state = sDrawState::GetDefaults();
    state.flags = 0;
    return state;
}

} // namespace DrawRecorder
