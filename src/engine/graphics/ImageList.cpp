#include "graphics/ImageList.h"

#include "core/AttributeContainer.h"
#include "core/WideString.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Drawing.h"
#include "graphics/Image.h"
#include "graphics/PixelMath.h"

#include <algorithm>
#include <string>

namespace Strata
{

namespace
{
Rect<int> FloorRect(const Rect<float>& rect)
{
    return Rect<int>(Graphics::FloorToInt(rect.x), Graphics::FloorToInt(rect.y), Graphics::FloorToInt(rect.width),
                     Graphics::FloorToInt(rect.height));
}
} // namespace

// --- ImageList -------------------------------------------------------------------------------------

ImageList::~ImageList()
{
    for (const Slot& slot : mSlots)
        if (slot.owned)
            delete slot.image;
}

void ImageList::Append(const IImage* image, bool owned)
{
    try
    {
        mSlots.push_back(Slot{image, owned});
    }
    catch (...)
    {
        if (owned)
            delete image;
        throw;
    }
}

void ImageList::AddOwnedImage(const IImage* image)
{
    Append(image, true);
}

void ImageList::AddImage(const IImage* image)
{
    Append(image, false);
}

bool ImageList::IsValidImage(int i) const
{
    return i >= 0 && static_cast<size_t>(i) < mSlots.size() && mSlots[static_cast<size_t>(i)].image != nullptr;
}

const IImage* ImageList::GetImage(int i) const
{
    return IsValidImage(i) ? mSlots[static_cast<size_t>(i)].image : nullptr;
}

int ImageList::GetNumImages() const
{
    return static_cast<int>(mSlots.size());
}

int ImageList::GetImageWidth(int i) const
{
    const IImage* image = GetImage(i);
    return image ? image->GetWidth() : 0;
}

int ImageList::GetImageHeight(int i) const
{
    const IImage* image = GetImage(i);
    return image ? image->GetHeight() : 0;
}

uint8_t ImageList::GetImagePixelAlpha(int i, int x, int y) const
{
    return GetImagePixel(i, x, y).a;
}

Color32 ImageList::GetImagePixel(int i, int x, int y) const
{
    const IImage* image = GetImage(i);
    return image ? image->GetPixel(x, y) : Color32();
}

int ImageList::DrawImage(int i, float x, float y, const Graphics::sDrawState& state, ICanvas* canvas)
{
    const IImage* image = GetImage(i);
    if (!image)
        return Graphics::DrawResult_Nothing;
    // Drawing may link a texture to the image; the list's images are never const objects.
    return Graphics::DrawImage(const_cast<IImage*>(image), x, y, state, canvas);
}

int ImageList::DrawStretchedImage(int i, const Rect<float>& rect, const Graphics::sDrawState& state, ICanvas* canvas)
{
    const IImage* image = GetImage(i);
    if (!image)
        return Graphics::DrawResult_Nothing;
    return Graphics::DrawStretchedImage(const_cast<IImage*>(image), FloorRect(rect), state, canvas);
}

// --- FilmStrip -------------------------------------------------------------------------------------

FilmStrip::~FilmStrip() = default;

void FilmStrip::Init(std::unique_ptr<IImage> image, int cols, int rows)
{
    mImage = std::move(image);
    mCols = std::clamp(cols, 1, kMaxImageSide);
    mRows = std::clamp(rows, 1, kMaxImageSide);
}

int FilmStrip::GetNumImages() const
{
    // Both counts are at most kMaxImageSide, so the product fits.
    return mCols * mRows;
}

int FilmStrip::GetImageWidth(int) const
{
    return mImage ? mImage->GetWidth() / mCols : 0;
}

int FilmStrip::GetImageHeight(int) const
{
    return mImage ? mImage->GetHeight() / mRows : 0;
}

Rect<int> FilmStrip::GetPaneRect(int i) const
{
    if (!IsPane(i))
        return Rect<int>();
    const int width = GetImageWidth(i);
    const int height = GetImageHeight(i);
    return Rect<int>((i % mCols) * width, (i / mCols) * height, width, height);
}

uint8_t FilmStrip::GetImagePixelAlpha(int i, int x, int y) const
{
    return GetImagePixel(i, x, y).a;
}

Color32 FilmStrip::GetImagePixel(int i, int x, int y) const
{
    const Rect<int> pane = GetPaneRect(i);
    // A point outside the pane lies in another frame, not in this one: it is 0, as outside any
    // separate image of an image list.
    if (!mImage || x < 0 || y < 0 || x >= pane.width || y >= pane.height)
        return Color32();
    return mImage->GetPixel(pane.x + x, pane.y + y);
}

int FilmStrip::DrawImage(int i, float x, float y, const Graphics::sDrawState& state, ICanvas* canvas)
{
    if (!IsPane(i))
        return Graphics::DrawResult_Nothing;
    const Rect<int> pane = GetPaneRect(i);
    Graphics::DrawStateNPI paneState(state);
    paneState.SourceRect(pane.x, pane.y, pane.width, pane.height);
    return Graphics::DrawImage(mImage.get(), x, y, paneState, canvas);
}

int FilmStrip::DrawStretchedImage(int i, const Rect<float>& rect, const Graphics::sDrawState& state, ICanvas* canvas)
{
    if (!IsPane(i) || !mImage)
        return Graphics::DrawResult_Nothing;
    const Rect<int> pane = GetPaneRect(i);
    Graphics::DrawStateNPI paneState(state);
    paneState.SourceRect(pane.x, pane.y, pane.width, pane.height);
    return Graphics::DrawStretchedImage(mImage.get(), FloorRect(rect), paneState, canvas);
}

// --- Animation -------------------------------------------------------------------------------------

Animation::Animation(IImageList* images, AnimationMode mode, float fps) : mImages(images), mMode(mode), mFPS(fps)
{
}

int Animation::GetWidth() const
{
    return mImages ? mImages->GetImageWidth(0) : 0;
}

int Animation::GetHeight() const
{
    return mImages ? mImages->GetImageHeight(0) : 0;
}

int Animation::GetFrameNumberAt(float t) const
{
    if (!mImages)
        return 0;
    const int count = mImages->GetNumImages();
    if (count <= 0)
        return 0;
    int endFrame = count - 1;
    const int frames = Graphics::TruncateToInt(t * mFPS);
    int cycle = frames / count;
    int frame = frames - cycle * count;
    if (frame < 0)
        frame += count;
    if (mMode & 1)
    {
        if (cycle - 2 * (cycle / 2) == 1)
            frame = count - frame - 1;
        cycle /= 2;
        endFrame = 0;
    }
    if (mMode & 2)
        return frame;
    if (cycle > 0)
        return endFrame;
    return cycle == 0 ? frame : 0;
}

Animation CreateAnimation(Label name, AnimationMode mode, float fps)
{
    const AutoResource<AttributeContainer> attributes(name);
    if (!attributes)
        return Animation();
    const float rate = attributes->GetAttribute(L"fps", fps);
    if (attributes->HasAttribute(L"mode"))
    {
        std::wstring text = attributes->GetAttribute(L"mode");
        for (wchar_t& c : text)
            c = static_cast<wchar_t>(AsciiToLower(c));
        static const wchar_t* const kModes[] = {L"once", L"bounce", L"loop", L"pingpong"};
        for (int i = 0; i < 4; ++i)
            if (text == kModes[i])
                mode = static_cast<AnimationMode>(i);
    }
    // The list is the same resource, so both views come from one look-up.
    return Animation(dynamic_cast<IImageList*>(attributes.GetDescriptor().get()), mode, rate);
}

// --- Drawing ---------------------------------------------------------------------------------------

namespace Graphics
{

namespace
{
bool HasFrames(const Animation* animation)
{
    return animation && animation->GetImageList() && animation->GetImageList()->GetNumImages() > 0;
}
} // namespace

int DrawAnimation(const Animation* animation, float t, float x, float y, const sDrawState& state, ICanvas* canvas)
{
    if (!HasFrames(animation))
        return DrawResult_Nothing;
    return animation->GetImageList()->DrawImage(animation->GetFrameNumberAt(t), x, y, state, canvas);
}

int DrawStretchedAnimation(const Animation* animation, float t, const Rect<float>& rect, const sDrawState& state,
                           ICanvas* canvas)
{
    if (!HasFrames(animation))
        return DrawResult_Nothing;
    return animation->GetImageList()->DrawStretchedImage(animation->GetFrameNumberAt(t), rect, state, canvas);
}

} // namespace Graphics

} // namespace Strata
