#include "controls/ListControl.h"

#include "controls/ItemControlAttributes.h"
#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
#include "core/Log.h"
#include "core/Time.h"
#include "framework/ObjectDatabase.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"

#include <algorithm>
#include <memory>

namespace Strata
{

namespace
{

constexpr int kFrameImages = 9;

Label GetSelectionChangeMessageName()
{
    static const Label name("ListSelectionChange");
    return name;
}

Label GetItemDoubleClickMessageName()
{
    static const Label name("ListItemDoubleClick");
    return name;
}

bool RectHolds(const Rect<float>& rect, float x, float y)
{
    return x >= rect.x && y >= rect.y && x < rect.x + rect.width && y < rect.y + rect.height;
}

} // namespace

ListObject::ListObject(Label name) : ControlObject(name)
{
}

ListObject::ListObject(Label name, float layer, const Vector2<float>& location, ImageListHandle images, float width,
                       float height, const Font* font, const ColorF& color)
    : ControlObject(name, layer)
{
    SetImages(std::move(images));
    SetFont(font);
    SetColor(color);
    SetLocation(location);
    SetWidth(width);
    SetHeight(height);
}

ListObject::~ListObject() = default;

void ListObject::AddItem(const std::wstring& text, uint32_t data)
{
    mItems.push_back(ListItem{text, data});
}

void ListObject::ClearItems()
{
    mItems.clear();
    mSelectedItem = -1;
    mTopItem = 0;
}

const std::wstring& ListObject::GetItemText(int index) const
{
    static const std::wstring none;
    return index >= 0 && index < GetItemCount() ? mItems[static_cast<size_t>(index)].text : none;
}

uint32_t ListObject::GetItemData(int index) const
{
    return index >= 0 && index < GetItemCount() ? mItems[static_cast<size_t>(index)].data : 0;
}

void ListObject::SelectItem(int index)
{
    mSelectedItem = index;
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SendMessage(ObjectMessage(GetID(), GetSelectionChangeMessageName()));
}

void ListObject::ScrollDown()
{
    // On an empty list "the last item" is -1: the top item must not follow it there.
    if (!mItems.empty())
        mTopItem = std::min(mTopItem + 1, GetItemCount() - 1);
}

Rect<float> ListObject::GetInteriorRect() const
{
    auto width = [this](int i) { return mImages ? static_cast<float>(mImages->GetImageWidth(i)) : 0.0f; };
    auto height = [this](int i) { return mImages ? static_cast<float>(mImages->GetImageHeight(i)) : 0.0f; };
    return Rect<float>(mBounds.x + width(3), mBounds.y + height(0), mBounds.width - (width(3) + width(5)),
                       mBounds.height - (height(1) + height(7)));
}

int ListObject::GetLineHeight() const
{
    return mFont ? mFont->GetGlyphHeight() + 2 : 0;
}

Rect<float> ListObject::GetItemRect(int index) const
{
    const Rect<float> interior = GetInteriorRect();
    const float line = static_cast<float>(GetLineHeight());
    const float offset = static_cast<float>(index - mTopItem) * line;
    return Rect<float>(interior.x, interior.y + offset, interior.width, std::min(line, interior.height - offset));
}

int ListObject::GetVisibleItemCount() const
{
    const int line = GetLineHeight();
    if (line <= 0)
        return 1;
    const Rect<float> interior = GetInteriorRect();
    int last = mTopItem;
    for (int i = std::max(mTopItem, 0); i < GetItemCount(); ++i)
    {
        const Rect<float> item = GetItemRect(i);
        if (item.getIntersection(interior).height == static_cast<float>(line))
            last = i;
        // Every later item starts lower still, so none of them fits whole either.
        if (item.height < static_cast<float>(line))
            break;
    }
    return last - mTopItem + 1;
}

bool ListObject::CanFocus()
{
    return !mItems.empty();
}

bool ListObject::IsReady()
{
    const bool frame = mImages && mImages->GetNumImages() >= kFrameImages;
    if (frame && mFont)
        return true;
    if (!mReportedNotReady)
    {
        mReportedNotReady = true;
        Internal::LogWrite("List %s has no %s\n", mName.c_str(), frame ? "font" : "frame images");
    }
    return false;
}

MessageResult ListObject::OnKeyDown(int key)
{
    if (!HasFocus() || mItems.empty() || (key != Key_Up && key != Key_Down) || !IsReady())
        return MessageResult_Unhandled;
    // A selection set from outside may lie past the items: the keys treat it as none.
    if (mSelectedItem < 0 || mSelectedItem >= GetItemCount())
    {
        mTopItem = 0;
        SelectItem(0);
        return MessageResult_Handled;
    }
    if (key == Key_Down)
    {
        if (mSelectedItem < GetItemCount() - 1)
            SelectItem(mSelectedItem + 1);
        // Ends when scrolling stops moving too, whatever a receiver of the message did to the list.
        while (mSelectedItem - mTopItem >= GetVisibleItemCount())
        {
            const int before = mTopItem;
            ScrollDown();
            if (mTopItem == before)
                break;
        }
    }
    else
    {
        if (mSelectedItem > 0)
            SelectItem(mSelectedItem - 1);
        if (mSelectedItem >= 0 && mSelectedItem < mTopItem)
            mTopItem = mSelectedItem;
    }
    return MessageResult_Handled;
}

MessageResult ListObject::OnMouseDown(MouseButton, int x, int y)
{
    Focus();
    if (mItems.empty() || !IsReady())
        return MessageResult_Unhandled;
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    int hit = -1;
    for (int i = std::max(mTopItem, 0); i < GetItemCount(); ++i)
    {
        const Rect<float> item = GetItemRect(i);
        if (!(item.height > 0.0f))
            break; // this one and every later one lie below the interior
        if (RectHolds(item, px, py))
        {
            hit = i;
            break;
        }
    }
    if (hit < 0)
        return MessageResult_Unhandled;
    const int previous = mSelectedItem;
    const uint32_t elapsed = GetClickTime() - mLastClickTime;
    SelectItem(hit);
    mLastClickTime = GetClickTime();
    if (previous == hit && elapsed <= GetDoubleClickTime())
    {
        if (ObjectDatabase* database = GetObjectDatabase())
            database->SendMessage(ObjectMessage(GetID(), GetItemDoubleClickMessageName()));
    }
    return MessageResult_Handled;
}

uint32_t ListObject::GetClickTime() const
{
    return GetTimeMS();
}

void ListObject::Draw()
{
    if (!mVisible || !IsReady())
        return;
    ICanvas* canvas = Graphics::GetCanvas();
    const Graphics::sDrawState& current = Graphics::GetDrawState();
    // The brush call takes the list as mutable; it only reads it.
    Graphics::DrawNineBrush(const_cast<IImageList*>(mImages.Get()), 0, mBounds.x, mBounds.y, mBounds.width,
                            mBounds.height, current, canvas);

    Graphics::sDrawState text = current;
    text.font = mFont;
    text.color = mColor;
    text.hAlign = HAlignment_Left;
    text.vAlign = VAlignment_Top;
    for (int i = std::max(mTopItem, 0); i < GetItemCount(); ++i)
    {
        const Rect<float> item = GetItemRect(i);
        // An item below the interior has a height of 0 or less: drawn at all, its line would land on
        // the visible items above it. Every later item lies lower still.
        if (!(item.height > 0.0f))
            break;
        Graphics::sDrawState line = text;
        // Inside the clip already in force, so the list never paints outside its caller's clip either.
        line.clipRect = Rect<int>(Graphics::TruncateToInt(item.x), Graphics::TruncateToInt(item.y),
                                  Graphics::TruncateToInt(item.width), Graphics::TruncateToInt(item.height))
                            .getIntersection(current.clipRect);
        if (line.clipRect.isEmpty())
            continue;
        if (i == mSelectedItem)
        {
            Graphics::sDrawState fill = line;
            fill.color = mSelectedBackgroundColor;
            Graphics::DrawFilledRect(item, fill, canvas);
            line.color = mSelectedTextColor;
        }
        Graphics::DrawText(mItems[static_cast<size_t>(i)].text.c_str(), item.x, item.y + 1.0f, line, canvas);
    }
}

Object* ListObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto list = std::make_unique<ListObject>(name);
    ApplyItemControlAttributes(*list, attributes);
    return list.release();
}

} // namespace Strata
