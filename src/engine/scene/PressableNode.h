#pragma once

#include "core/Color.h"
#include "core/Label.h"
#include "framework/ObjectInterfaces.h"
#include "framework/TextComponent.h"
#include "graphics/FontComponent.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Strata
{

class IAttributeContainer;
class IImageList;
class IResourceDescriptor;
class ICanvas;
class SoundList;

namespace Graphics
{
struct sDrawState;
} // namespace Graphics

// What the push button and the toggles share: an image list of state frames (from a given count on,
// three-slice strips stretched to the width), a label in a font, a hot state, a press that captures
// the mouse and plays "Down", and "Hot" on entering. Presses while disabled are ignored, yet a release
// outside the node always lets the capture go.
class PressableNode : public SceneNode, public TextComponent, public FontComponent, public EnableComponent
{
public:
    // Store, then refit the size. `holder` keeps the resource alive while the node holds it.
    void SetImages(const IImageList* images, float width, std::shared_ptr<IResourceDescriptor> holder = nullptr);
    const IImageList* GetImages() const { return mImages; }
    void SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder = nullptr) override;
    void SetText(const std::wstring& text) override;

    bool IsHot() const { return mHot; }
    // True without a pixel test (sensitivity 0, no or an empty list); else whether the alpha of
    // frame 0 under the point is above the sensitivity.
    bool AlphaContains(const Vector2<float>& point);
    bool GlobalPointIntersects(const Vector2<float>& point) override;

    // 0 hits anywhere inside the bounds; otherwise a point hits where the alpha is greater.
    int32_t alphaSensitivity = 25;
    // Not owned; null plays nothing.
    const SoundList* sounds = nullptr;

protected:
    // A null text is empty. Images and font are not owned: they must outlive their use here.
    PressableNode(Label name, const IImageList* images, float width, const wchar_t* text, const Font* font,
                  const ColorF& color, int minThreeSliceImages);

    bool IsThreeSlice() const;
    int GetImageCount() const;
    float GetStripWidth() const { return mWidth; }
    void SetHot(bool hot) { mHot = hot; }
    // Draws image `first` at (x, y), or the three-slice strip from it stretched to the node's width;
    // nothing without images.
    void DrawFrame(int first, float x, float y, const Graphics::sDrawState& state, ICanvas* canvas);
    virtual void UpdateBounds() = 0;

    virtual void HandleMouseUp(SceneNode*, MouseButton, int, int) = 0;
    virtual void HandleMouseExited(SceneNode*) = 0;

private:
    void HandleMouseDown(SceneNode*, MouseButton, int, int);
    void HandleMouseEntered(SceneNode*);
    void HandleMouseUpOutsideNode(SceneNode*, MouseButton, int, int);

    const IImageList* mImages;
    float mWidth;
    int mMinThreeSliceImages;
    bool mHot = false;
    std::shared_ptr<IResourceDescriptor> mImagesHolder;
};

// What a layout gives every pressable node.
class PressableNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label images;
    float width = 0.0f;
    std::wstring text;
    Label font;
    int32_t alphaSensitivity = 25;
    Label sounds;
    // Null when not given.
    Label textResource;
};

// Reads "images", "width", "text", "textResource", "font", "alphaSensitivity" and "sounds".
void ReadPressableAttributes(const IAttributeContainer& element, PressableNodeDescriptor& descriptor);
// Looks the descriptor's resources up (a missing one is reported under `nodeType`) and gives them, the
// sensitivity, the sounds and the text resource to a new node.
void ApplyPressableDescriptor(const char* nodeType, const PressableNodeDescriptor& descriptor, PressableNode& node);

} // namespace Strata
