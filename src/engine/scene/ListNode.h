#pragma once

#include "core/Color.h"
#include "core/Label.h"
#include "core/Rect.h"
#include "graphics/FontComponent.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <memory>
#include <string>
#include <vector>

namespace Strata
{

class IImageList;
class IResourceDescriptor;

// A single-selection text list inside a nine-slice frame (images 0 to 8), one line per item from the
// scroll position down. A press on a line or the arrow keys select; every selection sends
// "ListSelectionChange". Keyboard navigation has two levels: the focused list shows a highlight, key
// 512 engages it, and only then do Up and Down move the selection (the selected line turns cyan);
// 512 or 513, or losing the focus, disengages it. A list that is not globally visible takes no presses
// and no keys.
class ListNode : public SceneNode, public FontComponent
{
public:
    struct ListItem
    {
        std::wstring text;
    };

    static constexpr int kEngageKey = 512;
    static constexpr int kDisengageKey = 513;

    // Images and font are not owned: they must outlive their use here.
    ListNode(Label name, const Vector2<float>& location, const IImageList* images, float width, float height,
             const Font* font, const ColorF& textColor, const ColorF& selectedTextColor);

    void SetImages(const IImageList* images, std::shared_ptr<IResourceDescriptor> holder = nullptr);

    // Items. Removing items keeps the selection and scroll position inside the list.
    void AddItem(const std::wstring& text);
    void ClearItems();
    size_t GetItemCount() const { return mItems.size(); }
    const std::wstring& GetItemText(int index) const;
    // -1 for none.
    int GetSelectedIndex() const { return mSelected; }
    int GetTopIndex() const { return mTop; }
    bool IsEngaged() const { return mEngaged; }

    // Geometry in global coordinates; lines are the font's glyph height + 2 high (no font: no lines).
    Rect<float> GetInteriorRect();
    // Lines below the interior get a height of 0 or less.
    Rect<float> GetItemRect(int index);
    // Whole lines shown from the top line; at least 1.
    int GetVisibleItemCount();
    void ScrollDown();
    // Selects the item (even when it already is) and sends "ListSelectionChange"; keeps the scroll
    // position. An index outside the items (other than -1) is refused.
    void SelectItem(int index);

    // "LostFocus" disengages; every message goes on to the scene node.
    void ReceiveMessage(const ObjectMessage& message) override;
    // Any button on a line selects it (global coordinates); no signal fires.
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    MessageResult OnKeyDown(int key) override;
    // Only with items.
    bool CanFocus() override;
    void DrawAt(const Vector2<float>& offset) override;

    ColorF textColor;
    ColorF selectedTextColor;

private:
    float GetLineHeight() const;

    const IImageList* mImages;
    std::shared_ptr<IResourceDescriptor> mImagesHolder;
    std::vector<ListItem> mItems;
    int mSelected = -1;
    int mTop = 0;
    bool mEngaged = false;
};

class ListNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label images;
    float width = 0.0f;
    float height = 0.0f;
    Label font;
    ColorF textColor{0.0f, 0.0f, 0.0f, 1.0f};
    ColorF selectedTextColor{0.0f, 0.0f, 0.0f, 1.0f};
};

// "listnode": "images", "width", "height", "font", "textColor", "selectedTextColor" (colour strings,
// opaque black by default).
class ListNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata
