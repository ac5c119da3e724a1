#pragma once

#include "controls/ObjectComponents.h"
#include "controls/ObjectFactory.h"
#include "core/Color.h"
#include "core/Label.h"
#include "core/Rect.h"
#include "core/Vector2.h"
#include "framework/Object.h"
#include "graphics/ImageList.h"

#include <memory>
#include <string>

namespace Strata
{

class IImage;
class IResourceDescriptor;

// The sprite factories' ratio of a requested size to a drawn one: requested / actual when both are
// positive and finite and the result is finite, else 1, so a size of 0 or an empty image never gives
// a scale of 0, infinity or NaN.
float SizeToScale(float requested, int actual);

// A non-interactive picture of a layout. Draws at its screen location, only while visible.
class SpriteObject : public Object,
                     public DrawableComponent,
                     public LocationComponent,
                     public ColorComponent,
                     public VisibleComponent,
                     public AlignmentComponent,
                     public FlipStateComponent
{
public:
    explicit SpriteObject(Label name, float layer = 0.0f);

    Label GetName() const override { return mName; }
    // The null label.
    Label GetRole() const override { return mRole; }
    using Object::GetRole;

protected:
    // The current draw state with the sprite's image colour, alignments and flip bits.
    Graphics::sDrawState MakeImageState() const;

    Label mName;
    Label mRole;
};

// A line of text, or a block wrapped at a width.
class TextSpriteObject : public SpriteObject, public FontComponent, public TextComponent
{
public:
    explicit TextSpriteObject(Label name, float layer = 0.0f);
    // An unnamed sprite; a null text is the empty text.
    TextSpriteObject(float layer, const Vector2<float>& location, const wchar_t* text, const Font* font,
                     const ColorF& color, float width);

    // Stored and returned only.
    virtual const std::wstring& GetTextFormat() const { return mTextFormat; }
    virtual void SetTextFormat(const std::wstring& format) { mTextFormat = format; }
    void Draw() override;

    // 0 draws unwrapped. A negative or non-finite width is stored as 0.
    void SetWidth(float width);
    float GetWidth() const { return mWidth; }
    void SetEffectColor(const ColorF& color) { mEffectColor = color; }
    const ColorF& GetEffectColor() const { return mEffectColor; }
    void SetEffectOffset(const Vector2<int>& offset) { mEffectOffset = offset; }
    const Vector2<int>& GetEffectOffset() const { return mEffectOffset; }

private:
    float mWidth = 0.0f;
    ColorF mEffectColor{0.0f, 0.0f, 0.0f, 0.5f};
    Vector2<int> mEffectOffset{2, 2};
    std::wstring mTextFormat;
};

// A still image (not owned), drawn stretched when its scale is not (1, 1).
class ImageSpriteObject : public SpriteObject, public ScaleComponent
{
public:
    explicit ImageSpriteObject(Label name, float layer = 0.0f);

    void Draw() override;

    // Null draws nothing. The image must outlive its use here unless `keepAlive` holds it.
    void SetImage(IImage* image, std::shared_ptr<IResourceDescriptor> keepAlive = nullptr);
    IImage* GetImage() const { return mImage; }
    void SetSourceRect(bool use, const Rect<int>& rect);
    void SetClipRect(bool use, const Rect<int>& rect);

private:
    IImage* mImage = nullptr;
    // The resource the image came from, held so that unloading its manifest cannot free it.
    std::shared_ptr<IResourceDescriptor> mImageResource;
    bool mUseSourceRect = false;
    Rect<int> mSourceRect;
    bool mUseClipRect = false;
    Rect<int> mClipRect;
};

// An animation whose time runs from the sprite's creation, visible or not.
class AnimationSpriteObject : public SpriteObject, public ScaleComponent
{
public:
    explicit AnimationSpriteObject(Label name, float layer = 0.0f);

    // Adds dt to the time.
    void Update(float dt) override;
    void Draw() override;

    // The animation's list must outlive its use here unless `keepAlive` holds it.
    void SetAnimation(const Animation& animation, std::shared_ptr<IResourceDescriptor> keepAlive = nullptr);
    const Animation& GetAnimation() const { return mAnimation; }
    float GetTime() const { return mTime; }

private:
    Animation mAnimation;
    std::shared_ptr<IResourceDescriptor> mAnimationResource;
    float mTime = 0.0f;
};

// "textsprite": "width", "bgcolor", "dropOffset", "textFormat".
class TextSpriteObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

// "imagesprite": "src" (an image resource; none when missing), "width", "height".
class ImageSpriteObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

// "animsprite": "src" (an image-list resource, mode "once" at 10 frames per second unless the resource
// says otherwise), "width", "height".
class AnimationSpriteObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata
