#pragma once

#include "controls/ControlObject.h"
#include "controls/ObjectFactory.h"
#include "core/Color.h"
#include "core/Rect.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Strata
{

class Font;
class IImageList;

struct ListItem
{
    std::wstring text;
    // The owner's own value for the item.
    uint32_t data = 0;
};

// A single-column text list (layout type "list") in a nine-slice frame: one line per item in the
// control's font and colour, the selected one filled and drawn in its own colours, scrolled by whole
// items. It takes the focus, moves the selection with Up and Down and broadcasts "ListSelectionChange"
// and "ListItemDoubleClick" with its identifier as the sender. It needs a frame of nine images and a
// font before it draws or answers keys and clicks; without them it is reported once and does neither.
class ListObject : public ControlObject
{
public:
    explicit ListObject(Label name);
    ListObject(Label name, float layer, const Vector2<float>& location, ImageListHandle images, float width,
               float height, const Font* font, const ColorF& color);
    ~ListObject() override;

    // Appends an item; the selection and the scroll position stay.
    void AddItem(const std::wstring& text, uint32_t data = 0);
    // Empties the list: nothing selected, scrolled to the top. Sends no message.
    void ClearItems();
    int GetItemCount() const { return static_cast<int>(mItems.size()); }
    // The item's text; empty for an index out of range.
    const std::wstring& GetItemText(int index) const;
    // The item's data; 0 for an index out of range.
    uint32_t GetItemData(int index) const;

    int GetSelectedItem() const { return mSelectedItem; }
    // Selects the index as given (not checked against the items; -1 selects none) and broadcasts
    // "ListSelectionChange", also when it does not change.
    void SelectItem(int index);
    int GetTopItem() const { return mTopItem; }
    // One item further down, never past the last item; nothing on an empty list.
    void ScrollDown();

    // The bounds less the frame: image 3's width on the left, image 5's on the right, image 0's height
    // at the top and image 1's and 7's heights off the height (missing images count 0).
    Rect<float> GetInteriorRect() const;
    // The line of the item counted from the top item; its height shrinks to what is left of the
    // interior, to 0 or less below it.
    Rect<float> GetItemRect(int index) const;
    // The items from the top item up to the last one whole in the interior; at least 1.
    int GetVisibleItemCount() const;
    // The font's glyph height + 2; 0 without a font.
    int GetLineHeight() const;

    bool CanFocus() override;
    // With the focus and at least one item: Up and Down move the selection and scroll it into view.
    MessageResult OnKeyDown(int key) override;
    // Takes the focus, then selects the item under the point; a second click on the same item within
    // the double-click interval also broadcasts "ListItemDoubleClick". Handled when an item is hit.
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    void Draw() override;

    void SetImages(ImageListHandle images) { mImages = std::move(images); }
    const IImageList* GetImages() const { return mImages; }
    const ColorF& GetSelectedTextColor() const { return mSelectedTextColor; }
    void SetSelectedTextColor(const ColorF& color) { mSelectedTextColor = color; }
    const ColorF& GetSelectedBackgroundColor() const { return mSelectedBackgroundColor; }
    void SetSelectedBackgroundColor(const ColorF& color) { mSelectedBackgroundColor = color; }

protected:
    // The click clock in milliseconds; tests replace it.
    virtual uint32_t GetClickTime() const;

private:
    // True with a full frame and a font; otherwise reports what is missing, once.
    bool IsReady();

    ImageListHandle mImages;
    ColorF mSelectedTextColor{1.0f, 1.0f, 1.0f, 1.0f};
    ColorF mSelectedBackgroundColor{0.0f, 0.0f, 0.0f, 1.0f};
    std::vector<ListItem> mItems;
    int mSelectedItem = -1;
    int mTopItem = 0;
    uint32_t mLastClickTime = 0;
    bool mReportedNotReady = false;
};

// Reads "images" (an image list resource), "textColor" (the control's colour), "selectedTextColor" and
// "selectedBackgroundColor", each only when present. A name that finds no image list leaves none.
class ListObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata
