#pragma once

#include "core/Angle.h"
#include "core/Color.h"
#include "core/Rect.h"
#include "core/Referenced.h"
#include "core/Vector2.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Strata
{

class Image;
class ImageRotationCache;

// The largest width or height an image may have; larger sizes give an empty image.
inline constexpr int kMaxImageSide = 8192;
// The most rotation steps an image may cache.
inline constexpr int kMaxImageRotations = 360;

// Where an image lies in the texture made for it by the graphics platform.
struct sTextureDescriptor
{
    Rect<int> imageRect;
    Vector2<int> texturePosition;
    Vector2<int> textureSize;
    Vector2<float> uvScale;
};

// The graphics platform's copy of an image. Counted: a new texture starts with one reference.
class ITexture : public IReferenced
{
public:
    virtual const sTextureDescriptor& GetDescriptor() const = 0;
    virtual const Image* GetImage() const = 0;
    // The image's pixels changed: upload them again before the next use.
    virtual void Refresh() = 0;
    virtual void SendToRenderer() = 0;
    // Frees what the renderer holds for the texture (its name); the next use makes it again.
    virtual void Delete() = 0;

protected:
    ~ITexture() override = default;
};

// Anything that can be drawn as an image.
class IImage
{
public:
    virtual ~IImage() = default;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    // 0 (transparent black) outside the image.
    virtual Color32 GetPixel(int x, int y) const = 0;
    // Holds a counted reference to the texture (null clears the link).
    virtual void SetTexture(ITexture* texture) = 0;
    // The linked texture, refreshed first when the pixels changed since the last call; null when none.
    virtual ITexture* GetTexture() = 0;
    // Names what drawing the image shows: no two different contents of any images ever share a stamp.
    // 0 when the kind of image cannot tell, so that a frame that draws it is never taken as unchanged.
    virtual uint64_t GetContentStamp() const { return 0; }
};

// The columns [first, end) of one row of an image that hold pixels not wholly transparent; first == end
// for a row of none.
struct sRowSpan
{
    int32_t first = 0;
    int32_t end = 0;
};

// Size and texture link shared by image kinds.
class BaseImage : public IImage
{
public:
    BaseImage() = default;
    BaseImage(const BaseImage&) = delete;
    BaseImage& operator=(const BaseImage&) = delete;
    // Releases the texture link; a screen frame being recorded draws what it recorded of the image first.
    ~BaseImage() override;

    int GetWidth() const override { return mWidth; }
    int GetHeight() const override { return mHeight; }
    void SetTexture(ITexture* texture) override;
    ITexture* GetTexture() override;

    // True until the texture has taken the current pixels.
    bool IsTextureDirty() const { return mTextureDirty; }

protected:
    ITexture* mTexture = nullptr;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    bool mTextureDirty = true;
};

// 32-bit pixels in memory, rows top to bottom, bytes blue, green, red, alpha.
class Image : public BaseImage
{
public:
    // The empty image: 0 x 0, no pixels, both flags false.
    Image();
    // Transparent black pixels, hasAlpha set. A side of 0 or less or above kMaxImageSide gives an
    // empty image instead.
    Image(int width, int height);
    // Takes the pixels; see Init for what is refused (an empty image results).
    Image(std::vector<Color32>&& pixels, int width, int height, bool hasAlpha, bool hasColorKey);
    // Deletes the rotation cache with its copies, then the pixels.
    ~Image() override;

    // Replaces size, pixels and flags, drops any rotation cache and releases the texture link (its
    // size would be stale). Returns false and changes nothing when a side is 0 or less or above
    // kMaxImageSide, or when `pixels` does not hold exactly width x height values.
    bool Init(std::vector<Color32>&& pixels, int width, int height, bool hasAlpha, bool hasColorKey);

    // A deep copy of size, pixels and flags, without rotation cache or texture.
    std::unique_ptr<Image> Copy() const;

    bool IsEmpty() const { return mPixels.empty(); }
    Color32 GetPixel(int x, int y) const override;
    // Writes only inside the image, and then marks it changed.
    void SetPixel(int x, int y, Color32 color);

    // Row-major pixel words; null for an empty image. Whoever writes through them calls MarkChanged.
    Color32* GetPixels() { return mPixels.empty() ? nullptr : mPixels.data(); }
    const Color32* GetPixels() const { return mPixels.empty() ? nullptr : mPixels.data(); }

    // May hold pixels that are not fully opaque.
    bool HasAlpha() const { return mHasAlpha; }
    // Transparency comes from one key colour: alpha is only 0 or 255.
    bool HasColorKey() const { return mHasColorKey; }
    // True when the image has pixels and every one has alpha 255, whatever the flags say: drawn untinted
    // at full opacity it hides all it covers. Worked out once for each content.
    bool IsOpaque() const;
    // A new content stamp: the flags change how the pixels are drawn.
    void SetFlags(bool hasAlpha, bool hasColorKey);

    // The pixels were written: the texture must take them again and rotated copies are stale.
    void MarkChanged();
    // Goes up by one with every change of the pixels.
    uint64_t GetPixelVersion() const { return mPixelVersion; }
    // Taken anew when the image is made and with every change of pixels, size or flags.
    uint64_t GetContentStamp() const override { return mContentStamp; }

    // Works out the row spans of this content: worth it for an image drawn many times unchanged, as a
    // turned copy is, whose corners are transparent.
    void PrepareRowSpans();
    // One span per row, for blending to skip what changes nothing; null unless PrepareRowSpans was
    // called for this very content.
    const sRowSpan* GetRowSpans() const
    {
        return mRowSpansStamp == mContentStamp && !mRowSpans.empty() ? mRowSpans.data() : nullptr;
    }
    // How far from the point (width / 2, height / 2), halves rounded down, the farthest corner of a pixel
    // not wholly transparent lies: a turned copy blended shows nothing farther from its middle. Negative
    // unless the row spans of this content are worked out.
    float GetContentRadius() const { return GetRowSpans() ? mContentRadius : -1.0f; }

    // Gives the image a rotation cache (null removes it), deleting any earlier one.
    void SetRotationCache(std::unique_ptr<ImageRotationCache> cache);
    ImageRotationCache* GetRotationCache() const { return mRotationCache.get(); }
    // The image turned by the cache step nearest to `angle`, computed on first request and kept until
    // the pixels change; null when the image has no rotation cache.
    const Image* GetCachedRotation(Angle angle);

private:
    std::vector<Color32> mPixels;
    bool mHasAlpha = false;
    bool mHasColorKey = false;
    std::unique_ptr<ImageRotationCache> mRotationCache;
    uint64_t mPixelVersion = 0;
    uint64_t mContentStamp = 0;
    // IsOpaque's answer, and the content it was worked out for.
    mutable bool mOpaque = false;
    mutable uint64_t mOpaqueStamp = 0;
    std::vector<sRowSpan> mRowSpans;
    uint64_t mRowSpansStamp = 0;
    float mContentRadius = 0.0f;
};

// Turned copies of images. Every result is a new image owned by the caller, with the source's flags;
// a null source gives null.
class ImageTool
{
public:
    // A quarter turn clockwise: W x H becomes H x W.
    static std::unique_ptr<Image> Rotate90(const Image* image);
    static std::unique_ptr<Image> Rotate180(const Image* image);
    // A quarter turn anticlockwise.
    static std::unique_ptr<Image> Rotate270(const Image* image);
    // Any angle, clockwise for positive ones; nearest-pixel sampling, uncovered pixels transparent.
    // Angles within a thousandth of a degree of a quarter turn use the exact quarter turns. A result
    // larger than kMaxImageSide on a side is the empty image.
    static std::unique_ptr<Image> Rotate(const Image* image, Angle angle);
};

// Pre-turned copies of one image, one slot per step of a full turn.
class ImageRotationCache
{
public:
    // `count` is brought into [1, kMaxImageRotations].
    explicit ImageRotationCache(int count);
    // Deletes the copies it owns.
    ~ImageRotationCache();
    ImageRotationCache(const ImageRotationCache&) = delete;
    ImageRotationCache& operator=(const ImageRotationCache&) = delete;

    // Empties every slot and sets the step count (brought into [1, kMaxImageRotations]).
    void Init(int count);
    // The slot nearest to the angle (half-way goes to the higher slot); slot 0 for a non-finite angle.
    int GetIndex(Angle angle) const;
    int GetCount() const { return mCount; }
    Angle GetStep() const { return mStep; }
    // Null for an empty slot or an index out of range.
    Image* GetImage(int index) const;
    // Stores without taking ownership. An index out of range is ignored.
    void SetImage(int index, Image* image);
    // Stores and takes ownership. An index out of range deletes the image.
    void AttachImage(int index, std::unique_ptr<Image> image);
    void AttachImage(Angle angle, std::unique_ptr<Image> image);
    // Empties every slot, deleting the copies it owns.
    void Flush();

    // The pixel version of the image the copies were made from.
    uint64_t GetSourceVersion() const { return mSourceVersion; }
    void SetSourceVersion(uint64_t version) { mSourceVersion = version; }

private:
    std::vector<Image*> mImages;
    std::vector<bool> mOwned;
    float mInverseStep = 1.0f;
    Angle mStep;
    int mCount = 0;
    uint64_t mSourceVersion = 0;
};

} // namespace Strata
