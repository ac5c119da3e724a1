#pragma once

#include "core/Color.h"
#include "core/Label.h"
#include "core/Rect.h"
#include "graphics/Canvas.h"
#include "graphics/DrawState.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Strata
{

class IImage;

// The most indices an image-list pattern is tried for, so that absurd "first" and "last" values
// cannot keep the loader busy for ever.
inline constexpr int kMaxImageListPatternImages = 4096;

// An indexed set of images to draw frames from. An index that names no image has size 0, reads as
// transparent black and draws nothing (1).
class IImageList
{
public:
    virtual ~IImageList() = default;
    virtual int GetNumImages() const = 0;
    virtual int GetImageWidth(int i) const = 0;
    virtual int GetImageHeight(int i) const = 0;
    virtual uint8_t GetImagePixelAlpha(int i, int x, int y) const = 0;
    virtual Color32 GetImagePixel(int i, int x, int y) const = 0;
    // Image i with its top-left corner at (x, y), placed by the state's alignment; the drawing code.
    virtual int DrawImage(int i, float x, float y, const Graphics::sDrawState& state, ICanvas* canvas) = 0;
    // Image i scaled into the rectangle (each value floored to whole pixels); the drawing code.
    virtual int DrawStretchedImage(int i, const Rect<float>& rect, const Graphics::sDrawState& state,
                                   ICanvas* canvas) = 0;
};

// Separate images, each either owned (deleted with the list) or only referred to.
class ImageList : public IImageList
{
public:
    ImageList() = default;
    // Deletes the owned images.
    ~ImageList() override;
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    // Appends an image the list deletes. A null image appends an empty slot. Should the append fail
    // (std::bad_alloc) the image is deleted before the error passes on.
    void AddOwnedImage(const IImage* image);
    // Appends an image that must outlive the list. A null image appends an empty slot.
    void AddImage(const IImage* image);

    // True when 0 <= i < GetNumImages() and the slot holds an image.
    bool IsValidImage(int i) const;
    // Null when i is not valid.
    const IImage* GetImage(int i) const;

    int GetNumImages() const override;
    int GetImageWidth(int i) const override;
    int GetImageHeight(int i) const override;
    uint8_t GetImagePixelAlpha(int i, int x, int y) const override;
    Color32 GetImagePixel(int i, int x, int y) const override;
    int DrawImage(int i, float x, float y, const Graphics::sDrawState& state, ICanvas* canvas) override;
    int DrawStretchedImage(int i, const Rect<float>& rect, const Graphics::sDrawState& state, ICanvas* canvas) override;

private:
    struct Slot
    {
        const IImage* image;
        bool owned;
    };

    void Append(const IImage* image, bool owned);

    std::vector<Slot> mSlots;
};

// One image cut into a grid of equal panes, numbered row by row from the top-left: pane i is column
// i mod cols, row i / cols. Panes are (image width / cols) x (image height / rows) pixels.
class FilmStrip : public IImageList
{
public:
    FilmStrip() = default;
    ~FilmStrip() override;
    FilmStrip(const FilmStrip&) = delete;
    FilmStrip& operator=(const FilmStrip&) = delete;

    // Takes the strip image (replacing any earlier one). Column and row counts below 1 become 1, and
    // counts above kMaxImageSide become kMaxImageSide (no pane could be a pixel wide).
    void Init(std::unique_ptr<IImage> image, int cols, int rows);

    const IImage* GetImage() const { return mImage.get(); }
    int GetCols() const { return mCols; }
    int GetRows() const { return mRows; }
    // Where pane i lies in the strip image; the empty rectangle for an index outside the panes.
    Rect<int> GetPaneRect(int i) const;

    // cols x rows.
    int GetNumImages() const override;
    // The pane size, whatever the index.
    int GetImageWidth(int i) const override;
    int GetImageHeight(int i) const override;
    // Pixels of pane i, (x, y) from its corner; 0 outside the pane or for an index outside the panes.
    uint8_t GetImagePixelAlpha(int i, int x, int y) const override;
    Color32 GetImagePixel(int i, int x, int y) const override;
    // An index outside the panes draws nothing and returns 1.
    int DrawImage(int i, float x, float y, const Graphics::sDrawState& state, ICanvas* canvas) override;
    int DrawStretchedImage(int i, const Rect<float>& rect, const Graphics::sDrawState& state, ICanvas* canvas) override;

private:
    bool IsPane(int i) const { return i >= 0 && i < GetNumImages(); }

    std::unique_ptr<IImage> mImage;
    int32_t mCols = 1;
    int32_t mRows = 1;
};

// How an animation runs through its frames. Bit 0 plays every odd cycle backwards; bit 1 repeats for
// ever. Played once, an animation holds its end frame: the last one, or the first for "bounce".
enum AnimationMode : int
{
    AnimationMode_Once = 0,
    AnimationMode_Bounce = 1,
    AnimationMode_Loop = 2,
    AnimationMode_PingPong = 3
};

// Picks the frame of an image list for a point in time. The list is not owned: it must outlive the
// animation (a list taken from a resource lives while its manifest stays loaded).
class Animation
{
public:
    // No list, mode "once", 1 frame per second.
    Animation() = default;
    Animation(IImageList* images, AnimationMode mode, float fps);

    IImageList* GetImageList() const { return mImages; }
    AnimationMode GetMode() const { return mMode; }
    float GetFPS() const { return mFPS; }

    // The size of frame 0; 0 without a list.
    int GetWidth() const;
    int GetHeight() const;

    // The frame shown t seconds after the start. Without a list, or with an empty one, 0. The frame
    // count t x fps is cut toward zero; a count that is not a number counts as 0, and one beyond the
    // range of int is clamped to it, so a time or rate that is not finite still gives a valid frame.
    int GetFrameNumberAt(float t) const;

private:
    IImageList* mImages = nullptr;
    AnimationMode mMode = AnimationMode_Once;
    float mFPS = 1.0f;
};

// The animation over the image-list resource `name`, reading its attributes "fps" (default `fps`) and
// "mode" ("once", "bounce", "loop" or "pingpong" in any case; other text keeps `mode`). When no
// resource has the name the default animation results (no list, "once", 1 frame per second); a resource
// that is no image list gives an animation without a list.
Animation CreateAnimation(Label name, AnimationMode mode, float fps);

namespace Graphics
{

// The animation's frame for time t through its list's DrawImage or DrawStretchedImage; the drawing
// code. 1 without an animation, a list, or any frame.
int DrawAnimation(const Animation* animation, float t, float x, float y, const sDrawState& state, ICanvas* canvas);
int DrawStretchedAnimation(const Animation* animation, float t, const Rect<float>& rect, const sDrawState& state,
                           ICanvas* canvas);

} // namespace Graphics

} // namespace Strata
