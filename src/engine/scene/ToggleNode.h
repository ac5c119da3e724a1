#pragma once

#include "core/Color.h"
#include "core/Label.h"
#include "framework/ObjectInterfaces.h"
#include "framework/TextComponent.h"
#include "graphics/FontComponent.h"
#include "scene/SceneNode.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Strata
{

class IImageList;
class IResourceDescriptor;
class SoundList;

// What the check box and the radio button share: an image list of state frames (11 or more images
// are three-slice strips), a label, hot and pressed states, and a click on a mouse release over the
// node or on Enter, Space or GamePadA while focused. Presses while disabled are ignored, yet a release
// always lets the capture go, so a node disabled mid-press never holds the mouse.
class ToggleNode : public SceneNode, public TextComponent, public FontComponent, public EnableComponent
{
public:
    // Store, then refit the size. `holder` keeps the resource alive while the node holds it.
    void SetImages(const IImageList* images, float width, std::shared_ptr<IResourceDescriptor> holder = nullptr);
    const IImageList* GetImages() const { return mImages; }
    void SetFont(const Font* font) override;
    void SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder);
    void SetText(const std::wstring& text) override;

    virtual void Click() = 0;
    virtual bool HasFocusImages() const = 0;
    bool IsHot() const { return mHot; }
    // True without a pixel test (sensitivity 0, no or an empty list); else whether the alpha of the
    // unchecked normal frame under the point is above the sensitivity.
    bool AlphaContains(const Vector2<float>& point);

    MessageResult OnKeyDown(int key) override;
    bool GlobalPointIntersects(const Vector2<float>& point) override;

    // 0 hits anywhere inside the bounds; otherwise a point hits where the alpha is greater.
    int32_t alphaSensitivity = 25;
    // Not owned; null plays nothing.
    const SoundList* sounds = nullptr;

protected:
    ToggleNode(Label name, const Vector2<float>& location, const IImageList* images, float width, const wchar_t* text,
               const Font* font, const ColorF& color);

    bool IsThreeSlice() const;
    int GetImageCount() const;
    float GetStripWidth() const { return mWidth; }
    // Box width (the strip width or image 0's) and image 0's height; without images the size stays.
    void FitBox();
    virtual void UpdateBounds() = 0;

private:
    void HandleMouseDown(SceneNode*, MouseButton, int, int);
    void HandleMouseUp(SceneNode*, MouseButton, int, int);
    void HandleMouseEntered(SceneNode*);
    void HandleMouseExited(SceneNode*);
    void HandleMouseUpOutsideNode(SceneNode*, MouseButton, int, int);

    const IImageList* mImages;
    float mWidth;
    bool mHot = false;
    std::shared_ptr<IResourceDescriptor> mImagesHolder;
    std::shared_ptr<IResourceDescriptor> mFontHolder;
};

} // namespace Strata
