#include "controls/BrushObjects.h"

#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/ImageList.h"

#include <memory>

namespace Strata
{

namespace
{

// The brush calls take the list as mutable; they only read it.
IImageList* Drawable(const IImageList* images)
{
    return const_cast<IImageList*>(images);
}

} // namespace

ThreeBrushObject::ThreeBrushObject(Label name) : mName(name)
{
}

ThreeBrushObject::~ThreeBrushObject() = default;

Label ThreeBrushObject::GetName() const
{
    return mName;
}

void ThreeBrushObject::SetImages(ImageListHandle images)
{
    mImages = images;
}

void ThreeBrushObject::Draw()
{
    if (!mVisible || !mImages || !(mColor.a > 0.0f))
        return;
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.imageColor = mColor;
    Graphics::DrawThreeBrush(Drawable(mImages), mBounds.x, mBounds.y, mBounds.width, state, Graphics::GetCanvas());
}

NineBrushObject::NineBrushObject(Label name) : mName(name)
{
}

NineBrushObject::~NineBrushObject() = default;

Label NineBrushObject::GetName() const
{
    return mName;
}

void NineBrushObject::SetImages(ImageListHandle images)
{
    mImages = images;
}

void NineBrushObject::Draw()
{
    if (!mVisible || !mImages || !(mAlpha > 0.0f))
        return;
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.imageColor.a = mAlpha;
    Graphics::DrawNineBrush(Drawable(mImages), mBounds.x, mBounds.y, mBounds.width, mBounds.height, state,
                            Graphics::GetCanvas());
}

BackgroundObject::BackgroundObject(Label name) : ControlObject(name)
{
}

BackgroundObject::~BackgroundObject() = default;

void BackgroundObject::Draw()
{
    if (!mVisible || !mImages)
        return;
    Graphics::DrawNineBrush(Drawable(mImages), 0, mBounds.x, mBounds.y, mBounds.width, mBounds.height,
                            Graphics::GetDrawState(), Graphics::GetCanvas());
}

bool BackgroundObject::CanFocus()
{
    return false;
}

MessageResult BackgroundObject::OnKeyDown(int)
{
    return MessageResult_Unhandled;
}

MessageResult BackgroundObject::OnKeyUp(int)
{
    return MessageResult_Unhandled;
}

MessageResult BackgroundObject::OnMouseMove(int, int)
{
    return MessageResult_Handled;
}

MessageResult BackgroundObject::OnMouseDown(MouseButton, int, int)
{
    return MessageResult_Handled;
}

MessageResult BackgroundObject::OnMouseUp(MouseButton, int, int)
{
    return MessageResult_Handled;
}

// The wheel too: a panel that lets it through would scroll the lists drawn below it.
MessageResult BackgroundObject::OnMouseWheel(float, int, int)
{
    return MessageResult_Handled;
}

Object* ThreeBrushObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto brush = std::make_unique<ThreeBrushObject>(name);
    brush->SetImages(FindImageListAttribute(attributes, L"images"));
    return brush.release();
}

Object* NineBrushObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto brush = std::make_unique<NineBrushObject>(name);
    brush->SetImages(FindImageListAttribute(attributes, L"images"));
    return brush.release();
}

Object* BackgroundObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto background = std::make_unique<BackgroundObject>(name);
    background->SetImages(FindImageListAttribute(attributes, L"images"));
    return background.release();
}

} // namespace Strata
