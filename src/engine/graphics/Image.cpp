#include "graphics/Image.h"

#include "graphics/FrameRecorder.h"
#include "graphics/PixelMath.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

namespace Strata
{

namespace
{

bool IsValidSize(int width, int height)
{
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

// Shared by all images and threads, so that a stamp never names two contents.
uint64_t NextContentStamp()
{
    static std::atomic<uint64_t> next{0};
    return next.fetch_add(1, std::memory_order_relaxed) + 1;
}

size_t PixelCount(int width, int height)
{
    return static_cast<size_t>(width) * static_cast<size_t>(height);
}

} // namespace

// --- BaseImage ---

BaseImage::~BaseImage()
{
    if (mTexture)
        mTexture->Release();
}

void BaseImage::SetTexture(ITexture* texture)
{
    if (texture == mTexture)
        return;
    // Take the new reference before dropping the old, in case releasing the old one ends the new.
    if (texture)
        texture->AddRef();
    ITexture* old = mTexture;
    mTexture = texture;
    if (old)
        old->Release();
}

ITexture* BaseImage::GetTexture()
{
    if (!mTexture)
        return nullptr;
    if (mTextureDirty)
    {
        mTexture->Refresh();
        mTextureDirty = false;
    }
    return mTexture;
}

// --- Image ---

Image::Image() : mContentStamp(NextContentStamp())
{
}

Image::Image(int width, int height) : mHasAlpha(true), mContentStamp(NextContentStamp())
{
    if (IsValidSize(width, height))
    {
        mPixels.assign(PixelCount(width, height), Color32());
        mWidth = width;
        mHeight = height;
    }
}

Image::Image(std::vector<Color32>&& pixels, int width, int height, bool hasAlpha, bool hasColorKey)
    : mContentStamp(NextContentStamp())
{
    Init(std::move(pixels), width, height, hasAlpha, hasColorKey);
}

Image::~Image()
{
    // While the pixels still exist.
    Internal::ForgetRecordedImage(this);
    // The cache goes first: it may point at this image in slot 0 but never deletes it.
    mRotationCache.reset();
}

bool Image::Init(std::vector<Color32>&& pixels, int width, int height, bool hasAlpha, bool hasColorKey)
{
    if (!IsValidSize(width, height) || pixels.size() != PixelCount(width, height))
        return false;
    mRotationCache.reset();
    SetTexture(nullptr);
    mPixels = std::move(pixels);
    mWidth = width;
    mHeight = height;
    mHasAlpha = hasAlpha;
    mHasColorKey = hasColorKey;
    MarkChanged();
    return true;
}

bool Image::IsOpaque() const
{
    if (mOpaqueStamp != mContentStamp)
    {
        mOpaque = !mPixels.empty() &&
                  std::all_of(mPixels.begin(), mPixels.end(), [](Color32 pixel) { return pixel.a == 255; });
        mOpaqueStamp = mContentStamp;
    }
    return mOpaque;
}

void Image::PrepareRowSpans()
{
    if (mPixels.empty() || GetRowSpans())
        return;
    mRowSpans.resize(static_cast<size_t>(mHeight));
    const double middleX = mWidth / 2, middleY = mHeight / 2;
    double farthest = 0.0;
    for (int y = 0; y < mHeight; ++y)
    {
        const Color32* row = mPixels.data() + static_cast<size_t>(y) * static_cast<size_t>(mWidth);
        int first = 0;
        while (first < mWidth && row[first].a == 0)
            ++first;
        int end = mWidth;
        while (end > first && row[end - 1].a == 0)
            --end;
        mRowSpans[static_cast<size_t>(y)] = {first, end};
        if (first < end)
        {
            const double across = std::max(std::fabs(first - middleX), std::fabs(end - middleX));
            const double down = std::max(std::fabs(y - middleY), std::fabs(y + 1 - middleY));
            farthest = std::max(farthest, std::hypot(across, down));
        }
    }
    mContentRadius = static_cast<float>(farthest);
    mRowSpansStamp = mContentStamp;
}

std::unique_ptr<Image> Image::Copy() const
{
    auto copy = std::make_unique<Image>();
    if (!mPixels.empty())
    {
        std::vector<Color32> pixels(mPixels);
        copy->Init(std::move(pixels), mWidth, mHeight, mHasAlpha, mHasColorKey);
    }
    copy->SetFlags(mHasAlpha, mHasColorKey);
    return copy;
}

Color32 Image::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return Color32();
    return mPixels[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)];
}

void Image::SetPixel(int x, int y, Color32 color)
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return;
    mPixels[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)] = color;
    MarkChanged();
}

void Image::SetFlags(bool hasAlpha, bool hasColorKey)
{
    mHasAlpha = hasAlpha;
    mHasColorKey = hasColorKey;
    mContentStamp = NextContentStamp();
}

void Image::MarkChanged()
{
    mTextureDirty = true;
    ++mPixelVersion;
    mContentStamp = NextContentStamp();
}

void Image::SetRotationCache(std::unique_ptr<ImageRotationCache> cache)
{
    mRotationCache = std::move(cache);
    if (mRotationCache)
    {
        mRotationCache->Flush();
        mRotationCache->SetSourceVersion(mPixelVersion);
    }
}

const Image* Image::GetCachedRotation(Angle angle)
{
    ImageRotationCache* cache = mRotationCache.get();
    if (!cache)
        return nullptr;
    // Its content radius bounds what every turned copy shows.
    PrepareRowSpans();
    // Keyed on the pixels, not on the texture mark: drawing without a texture never clears that
    // mark, and the copies would otherwise be made again on every draw.
    if (cache->GetSourceVersion() != mPixelVersion)
    {
        cache->Flush();
        cache->SetSourceVersion(mPixelVersion);
    }
    const int index = cache->GetIndex(angle);
    if (Image* cached = cache->GetImage(index))
        return cached;
    if (index == 0)
    {
        cache->SetImage(0, this);
        return this;
    }
    std::unique_ptr<Image> rotated = ImageTool::Rotate(this, cache->GetStep() * static_cast<float>(index));
    Image* result = rotated.get();
    result->PrepareRowSpans();
    cache->AttachImage(index, std::move(rotated));
    return result;
}

// --- ImageTool ---

namespace
{

// A blank image of the given size carrying the source's flags; empty when the size is refused.
std::unique_ptr<Image> MakeLike(const Image* source, int width, int height)
{
    auto result = std::make_unique<Image>(width, height);
    result->SetFlags(source->HasAlpha(), source->HasColorKey());
    return result;
}

} // namespace

namespace
{

// Turns the image clockwise by 1, 2 or 3 quarter turns. Every turn reads the source along a straight
// walk: destination pixel (x, y) comes from source index origin + x * stepX + y * stepY.
std::unique_ptr<Image> RotateQuarterTurns(const Image* image, int quarters)
{
    if (!image)
        return nullptr;
    const int w = image->GetWidth();
    const int h = image->GetHeight();
    const bool across = quarters != 2;
    auto result = across ? MakeLike(image, h, w) : MakeLike(image, w, h);
    if (image->IsEmpty() || result->IsEmpty())
        return result;
    const ptrdiff_t width = w;
    const ptrdiff_t lastRow = static_cast<ptrdiff_t>(h - 1) * width;
    ptrdiff_t origin = 0;
    ptrdiff_t stepX = 0;
    ptrdiff_t stepY = 0;
    switch (quarters)
    {
    case 1: // the left column, bottom to top, becomes the top row
        origin = lastRow;
        stepX = -width;
        stepY = 1;
        break;
    case 2: // the bottom row, right to left, becomes the top row
        origin = lastRow + width - 1;
        stepX = -1;
        stepY = -width;
        break;
    default: // the right column, top to bottom, becomes the top row
        origin = width - 1;
        stepX = width;
        stepY = -1;
        break;
    }
    const Color32* src = image->GetPixels();
    Color32* dst = result->GetPixels();
    const int outWidth = result->GetWidth();
    const int outHeight = result->GetHeight();
    for (int y = 0; y < outHeight; ++y)
    {
        ptrdiff_t from = origin + y * stepY;
        Color32* to = dst + static_cast<size_t>(y) * static_cast<size_t>(outWidth);
        for (int x = 0; x < outWidth; ++x, from += stepX)
            to[x] = src[from];
    }
    return result;
}

} // namespace

std::unique_ptr<Image> ImageTool::Rotate90(const Image* image)
{
    return RotateQuarterTurns(image, 1);
}

std::unique_ptr<Image> ImageTool::Rotate180(const Image* image)
{
    return RotateQuarterTurns(image, 2);
}

std::unique_ptr<Image> ImageTool::Rotate270(const Image* image)
{
    return RotateQuarterTurns(image, 3);
}

std::unique_ptr<Image> ImageTool::Rotate(const Image* image, Angle angle)
{
    if (!image)
        return nullptr;
    const float wrapped = angle.Wrap().GetValue();
    if (!std::isfinite(wrapped))
        return image->Copy();
    const float degrees = wrapped * (180.0f / Angle::pi());
    const auto near = [degrees](float target) { return std::fabs(degrees - target) <= 0.001f; };
    if (near(90.0f))
        return Rotate90(image);
    if (near(180.0f))
        return Rotate180(image);
    if (near(270.0f))
        return Rotate270(image);
    if (near(0.0f) || near(360.0f))
        return image->Copy();

    const int w = image->GetWidth();
    const int h = image->GetHeight();
    const float s = std::sin(wrapped);
    const float c = std::cos(wrapped);
    const int newW = Graphics::TruncateToInt(std::fabs(c) * w + std::fabs(s) * h + 0.99f);
    const int newH = Graphics::TruncateToInt(std::fabs(c) * h + std::fabs(s) * w + 0.99f);
    auto result = MakeLike(image, newW, newH);
    if (image->IsEmpty() || result->IsEmpty())
        return result;

    // 16.16 fixed point walk, one addition per pixel; 64 bits so that no size can overflow it.
    const Color32* src = image->GetPixels();
    Color32* dst = result->GetPixels();
    const int64_t limitX = static_cast<int64_t>(w) << 16;
    const int64_t limitY = static_cast<int64_t>(h) << 16;
    const int64_t stepX = static_cast<int64_t>(c * 65536.0f);
    const int64_t stepY = static_cast<int64_t>(-s * 65536.0f);
    const float halfW = static_cast<float>(w / 2);
    const float halfH = static_cast<float>(h / 2);
    const float dx = static_cast<float>(-(newW / 2));
    for (int y = 0; y < newH; ++y)
    {
        const float dy = static_cast<float>(y - newH / 2);
        int64_t sx = static_cast<int64_t>((halfW + c * dx + s * dy) * 65536.0f);
        int64_t sy = static_cast<int64_t>((halfH - s * dx + c * dy) * 65536.0f);
        Color32* out = dst + static_cast<size_t>(y) * newW;
        for (int x = 0; x < newW; ++x, sx += stepX, sy += stepY)
            if (sx >= 0 && sx < limitX && sy >= 0 && sy < limitY)
                out[x] = src[static_cast<size_t>(sy >> 16) * w + static_cast<size_t>(sx >> 16)];
    }
    return result;
}

// --- ImageRotationCache ---

ImageRotationCache::ImageRotationCache(int count)
{
    Init(count);
}

ImageRotationCache::~ImageRotationCache()
{
    Flush();
}

void ImageRotationCache::Init(int count)
{
    Flush();
    mCount = std::clamp(count, 1, kMaxImageRotations);
    mStep = Angle::Circle() / static_cast<float>(mCount);
    mInverseStep = 1.0f / mStep.GetValue();
    mImages.assign(static_cast<size_t>(mCount), nullptr);
    mOwned.assign(static_cast<size_t>(mCount), false);
}

int ImageRotationCache::GetIndex(Angle angle) const
{
    const Angle turned = (angle + mStep * 0.5f).Wrap().Wrap();
    const int index = Graphics::TruncateToInt(turned.GetValue() * mInverseStep);
    // Negative only for NaN input, which truncates to 0 anyway; kept safe for the modulo.
    return index < 0 ? 0 : index % mCount;
}

Image* ImageRotationCache::GetImage(int index) const
{
    if (index < 0 || index >= mCount)
        return nullptr;
    return mImages[static_cast<size_t>(index)];
}

void ImageRotationCache::SetImage(int index, Image* image)
{
    if (index < 0 || index >= mCount)
        return;
    const size_t i = static_cast<size_t>(index);
    if (mOwned[i] && mImages[i] != image)
        delete mImages[i];
    mImages[i] = image;
    mOwned[i] = false;
}

void ImageRotationCache::AttachImage(int index, std::unique_ptr<Image> image)
{
    if (index < 0 || index >= mCount)
        return;
    const size_t i = static_cast<size_t>(index);
    if (mOwned[i])
        delete mImages[i];
    mImages[i] = image.release();
    mOwned[i] = mImages[i] != nullptr;
}

void ImageRotationCache::AttachImage(Angle angle, std::unique_ptr<Image> image)
{
    AttachImage(GetIndex(angle), std::move(image));
}

void ImageRotationCache::Flush()
{
    for (size_t i = 0; i < mImages.size(); ++i)
    {
        if (mOwned[i])
            delete mImages[i];
        mImages[i] = nullptr;
        mOwned[i] = false;
    }
}

} // namespace Strata
