#include "scene/ListNode.h"

#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"
#include "scene/NodeResources.h"
#include "scene/WidgetNodeSupport.h"

#include <algorithm>

namespace Strata
{

namespace
{

constexpr const char* kNodeType = "ListNode";

float FrameWidth(const IImageList* images, int index)
{
    return images != nullptr ? static_cast<float>(images->GetImageWidth(index)) : 0.0f;
}

float FrameHeight(const IImageList* images, int index)
{
    return images != nullptr ? static_cast<float>(images->GetImageHeight(index)) : 0.0f;
}

} // namespace

ListNode::ListNode(Label name, const Vector2<float>& location, const IImageList* images, float width, float height,
                   const Font* font, const ColorF& textColor, const ColorF& selectedTextColor)
    : SceneNode(name), FontComponent(font), textColor(textColor), selectedTextColor(selectedTextColor), mImages(images)
{
    LocalSetLocation(location);
    SetWidth(width);
    SetHeight(height);
}

void ListNode::SetImages(const IImageList* images, std::shared_ptr<IResourceDescriptor> holder)
{
    mImages = images;
    mImagesHolder = images ? std::move(holder) : nullptr;
}

void ListNode::AddItem(const std::wstring& text)
{
    mItems.push_back(ListItem{text});
}

void ListNode::ClearItems()
{
    mItems.clear();
    mSelected = -1;
    mTop = 0;
    mEngaged = false;
}

const std::wstring& ListNode::GetItemText(int index) const
{
    static const std::wstring none;
    return index >= 0 && static_cast<size_t>(index) < mItems.size() ? mItems[static_cast<size_t>(index)].text : none;
}

float ListNode::GetLineHeight() const
{
    return mFont != nullptr ? static_cast<float>(mFont->GetGlyphHeight() + 2) : 0.0f;
}

Rect<float> ListNode::GetInteriorRect()
{
    const Rect<float>& bounds = GlobalGetBounds();
    const float left = FrameWidth(mImages, 3);
    return Rect<float>(bounds.x + left, bounds.y + FrameHeight(mImages, 0),
                       GetWidth() - (left + FrameWidth(mImages, 5)),
                       GetHeight() - (FrameHeight(mImages, 1) + FrameHeight(mImages, 7)));
}

Rect<float> ListNode::GetItemRect(int index)
{
    const Rect<float> interior = GetInteriorRect();
    const float line = GetLineHeight();
    const float above = line * static_cast<float>(index - mTop);
    return Rect<float>(interior.x, interior.y + above, interior.width, std::min(line, interior.height - above));
}

int ListNode::GetVisibleItemCount()
{
    const float line = GetLineHeight();
    const int count = static_cast<int>(mItems.size());
    int last = mTop;
    if (line <= 0.0f)
        return 1;
    const Rect<float> interior = GetInteriorRect();
    for (int i = mTop; i < count; ++i)
    {
        const Rect<float> item = GetItemRect(i);
        if (item.height <= 0.0f)
            break; // every later line lies lower still
        if (item.getIntersection(interior).height == line)
            last = i;
    }
    return last - mTop + 1;
}

void ListNode::ScrollDown()
{
    mTop = std::max(0, std::min(mTop + 1, static_cast<int>(mItems.size()) - 1));
}

void ListNode::SelectItem(int index)
{
    if (index < -1 || index >= static_cast<int>(mItems.size()))
        return;
    mSelected = index;
    static const Label message("ListSelectionChange");
    SendWidgetMessage(*this, message);
}

void ListNode::ReceiveMessage(const ObjectMessage& message)
{
    static const Label lostFocus("LostFocus");
    if (message.GetName() == lostFocus)
        mEngaged = false;
    SceneNode::ReceiveMessage(message);
}

MessageResult ListNode::OnMouseDown(MouseButton, int x, int y)
{
    if (!GlobalIsVisible())
        return MessageResult_Unhandled;
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    for (int i = mTop; i < static_cast<int>(mItems.size()); ++i)
    {
        const Rect<float> item = GetItemRect(i);
        if (item.height <= 0.0f)
            break;
        if (px >= item.x && px < item.x + item.width && py >= item.y && py < item.y + item.height)
        {
            SelectItem(i);
            return MessageResult_Handled;
        }
    }
    return MessageResult_Unhandled;
}

MessageResult ListNode::OnKeyDown(int key)
{
    if (!HasFocus() || mItems.empty() || !GlobalIsVisible())
        return MessageResult_Unhandled;
    if (mEngaged && (key == kEngageKey || key == kDisengageKey))
    {
        mEngaged = false;
        return MessageResult_Handled;
    }
    if (key == kEngageKey)
    {
        mEngaged = true;
        return MessageResult_Handled;
    }
    if (!mEngaged || (key != Key_Up && key != Key_Down))
        return MessageResult_Unhandled;
    if (mSelected < 0)
    {
        mTop = 0;
        SelectItem(0);
    }
    else if (key == Key_Up)
    {
        if (mSelected > 0)
            SelectItem(mSelected - 1);
        mTop = std::min(mTop, mSelected);
    }
    else if (mSelected < static_cast<int>(mItems.size()) - 1)
    {
        SelectItem(mSelected + 1);
        // Each step moves top by one until the selected line is whole again; ScrollDown stops at the
        // last item, so the loop ends.
        while (mSelected - mTop >= GetVisibleItemCount() && mTop < static_cast<int>(mItems.size()) - 1)
            ScrollDown();
    }
    return MessageResult_Handled;
}

bool ListNode::CanFocus()
{
    return !mItems.empty();
}

void ListNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible())
        return;
    const Rect<float> bounds = GlobalGetBounds();
    const Graphics::sDrawState state = WidgetDrawState(*this);
    Graphics::ICanvas* canvas = Graphics::GetCanvas();
    if (mImages != nullptr)
    {
        // The drawing calls take the list as changeable; they only read it.
        Graphics::DrawNineBrush(const_cast<IImageList*>(mImages), 0, bounds.x + offset.x, bounds.y + offset.y,
                                GetWidth(), GetHeight(), state, canvas);
    }
    const bool focused = HasFocus();
    if (focused && !mEngaged)
    {
        Graphics::sDrawState highlight = Graphics::GetDrawState();
        highlight.color = ColorF(1.0f, 1.0f, 1.0f, 0.15f);
        Graphics::DrawFilledRect(Rect<float>(bounds.x + offset.x, bounds.y + offset.y, bounds.width, bounds.height),
                                 highlight, canvas);
    }
    if (mFont == nullptr)
        return;
    const float alpha = GlobalGetColor().a;
    for (int i = mTop; i < static_cast<int>(mItems.size()); ++i)
    {
        const Rect<float> item = GetItemRect(i);
        if (item.height <= 0.0f)
            break;
        ColorF color =
            i != mSelected ? textColor : (focused && mEngaged ? ColorF(0.0f, 1.0f, 1.0f, 1.0f) : selectedTextColor);
        color.a = alpha;
        Graphics::sDrawState text = state;
        text.font = mFont;
        text.color = color;
        text.hAlign = HAlignment_Left;
        text.vAlign = VAlignment_Top;
        const Rect<int> line(Graphics::TruncateToInt(item.x + offset.x), Graphics::TruncateToInt(item.y + offset.y),
                             Graphics::TruncateToInt(item.width), Graphics::TruncateToInt(item.height));
        // Inside the node's own clip, when it has one.
        text.clipRect = clipEnabled ? line.getIntersection(clipRect) : line;
        Graphics::DrawText(mItems[static_cast<size_t>(i)].text.c_str(), item.x + offset.x, item.y + offset.y, text,
                           canvas);
    }
}

std::unique_ptr<SceneNodeDescriptor> ListNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<ListNodeDescriptor>();
    descriptor->images = Label::FromString(element.GetAttribute(L"images"));
    descriptor->width = FiniteLayoutAttribute(element, L"width", 0.0f);
    descriptor->height = FiniteLayoutAttribute(element, L"height", 0.0f);
    descriptor->font = Label::FromString(element.GetAttribute(L"font"));
    descriptor->textColor = ColorF::FromString(element.GetAttribute(L"textColor"));
    descriptor->selectedTextColor = ColorF::FromString(element.GetAttribute(L"selectedTextColor"));
    return descriptor;
}

SceneTreePtr ListNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const ListNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    const HeldResource<ImageList> images = FindNodeResource<ImageList>(kNodeType, "image list", own->images);
    const HeldResource<Font> font = FindNodeResource<Font>(kNodeType, "font", own->font);
    auto node = std::make_unique<ListNode>(Label(), Vector2<float>(), nullptr, own->width, own->height, nullptr,
                                           own->textColor, own->selectedTextColor);
    node->SetImages(images.resource, images.holder);
    node->SetFont(font.resource, font.holder);
    return SceneTreePtr(node.release());
}

} // namespace Strata
