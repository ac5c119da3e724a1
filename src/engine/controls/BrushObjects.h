#pragma once

#include "controls/ControlObject.h"
#include "controls/ObjectComponents.h"
#include "controls/ObjectFactory.h"
#include "core/Label.h"
#include "framework/Object.h"

namespace Strata
{

class IImageList;

// A one-row frame (layout type "threebrush"): images 0, 1, 2 of its list are the left cap, the
// stretched middle and the right cap, as high as the images. Tinted by its colour.
class ThreeBrushObject : public Object,
                         public DrawableComponent,
                         public BoundsComponent,
                         public VisibleComponent,
                         public ColorComponent
{
public:
    explicit ThreeBrushObject(Label name);
    ~ThreeBrushObject() override;

    Label GetName() const override;
    // Nothing when hidden, without a list or fully transparent.
    void Draw() override;
    // Stores the list (not owned); the bounds stay as they are.
    virtual void SetImages(ImageListHandle images);
    const IImageList* GetImages() const { return mImages; }

protected:
    Label mName;
    ImageListHandle mImages;
};

// A panel (layout type "ninebrush") from images 0 to 8 of its list: three rows of three, the middle
// row repeated downwards. It has an opacity but no colour; lists of fewer than 9 images draw nothing.
class NineBrushObject : public Object,
                        public DrawableComponent,
                        public BoundsComponent,
                        public AlphaComponent,
                        public VisibleComponent
{
public:
    explicit NineBrushObject(Label name);
    ~NineBrushObject() override;

    Label GetName() const override;
    // Nothing when hidden, without a list or fully transparent.
    void Draw() override;
    // Stores the list (not owned); the bounds stay as they are.
    virtual void SetImages(ImageListHandle images);
    const IImageList* GetImages() const { return mImages; }

protected:
    Label mName;
    ImageListHandle mImages;
};

// A nine-slice panel (layout type "background") that swallows every mouse event reaching it, so the
// objects drawn below it get none; keys pass through and it never takes the focus.
class BackgroundObject : public ControlObject
{
public:
    explicit BackgroundObject(Label name);
    ~BackgroundObject() override;

    // Drawn untinted with the current draw state; nothing when hidden or without a list.
    void Draw() override;
    bool CanFocus() override;

    MessageResult OnKeyDown(int key) override;
    MessageResult OnKeyUp(int key) override;
    MessageResult OnMouseMove(int x, int y) override;
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    MessageResult OnMouseUp(MouseButton button, int x, int y) override;
    MessageResult OnMouseWheel(float delta, int x, int y) override;

    // Stores the list (not owned); the bounds stay as they are.
    void SetImages(ImageListHandle images) { mImages = std::move(images); }
    const IImageList* GetImages() const { return mImages; }

private:
    ImageListHandle mImages;
};

// Each reads "images" (an image list resource; none when missing). Position and size come from the
// layout's common attributes.
class ThreeBrushObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

class NineBrushObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

class BackgroundObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata
