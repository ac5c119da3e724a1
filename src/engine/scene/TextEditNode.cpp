#include "scene/TextEditNode.h"

#include "core/AttributeContainer.h"
#include "framework/ObjectDatabase.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/PixelMath.h"
#include "scene/NodeResources.h"

#include <algorithm>
#include <cmath>

namespace Strata
{

namespace
{

constexpr int kKeyBackspace = 8;
constexpr int kKeyTab = 9;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;
constexpr int kKeyDelete = 46;
constexpr int kKeyEngage = 512;
constexpr int kKeyDisengage = 513;

int RoundedWidth(float width)
{
    return Graphics::FloorToInt(width + 0.5f);
}

HAlignment TextAlignAttribute(const std::wstring& word)
{
    if (word == L"center")
        return HAlignment_Center;
    return word == L"right" ? HAlignment_Right : HAlignment_Left;
}

} // namespace

TextEditNode::TextEditNode(Label name) : SceneNode(name)
{
    SetFieldImages(nullptr);
    UpdateBounds();
    hitTest = true;
    // A disabled field takes the focus too; only its caret is hidden.
    mouseDownSignal.connect([this](SceneNode*, MouseButton, int, int) { Focus(); });
}

TextEditNode::~TextEditNode() = default;

void TextEditNode::HoldResources(std::shared_ptr<IResourceDescriptor> field,
                                 std::shared_ptr<IResourceDescriptor> cursor)
{
    mHolders[0] = std::move(field);
    mHolders[1] = std::move(cursor);
}

int TextEditNode::KernedWidth(wchar_t c, wchar_t next) const
{
    return mFont ? mFont->GetKernedLetterWidth(Shown(c), next == L'\0' ? L'\0' : Shown(next)) : 0;
}

float TextEditNode::GetTextWidth(const std::wstring& text) const
{
    float width = 0.0f;
    for (size_t i = 0; i < text.size(); ++i)
        width += static_cast<float>(KernedWidth(text[i], i + 1 < text.size() ? text[i + 1] : L'\0'));
    return width;
}

float TextEditNode::GetTextBoxWidth() const
{
    if (mFieldImages == nullptr)
        return GetWidth();
    return GetWidth() - static_cast<float>(mFieldImages->GetImageWidth(3) + mFieldImages->GetImageWidth(5));
}

float TextEditNode::GetTextBoxHeight() const
{
    if (mFont == nullptr)
        return 0.0f;
    const int glyph = mFont->GetGlyphHeight();
    const int slice = mFieldImages ? mFieldImages->GetImageHeight(3) : 0;
    if (slice <= 0 || glyph <= 0)
    {
        // No frame, or a middle slice with no height that no multiple could ever make tall enough.
        return static_cast<float>(std::max(glyph, 0));
    }
    // The smallest multiple of the slice that holds a glyph.
    return static_cast<float>((glyph + slice - 1) / slice * slice);
}

Vector2<float> TextEditNode::GetTextLocation() const
{
    Vector2<float> location(0.0f, 0.0f);
    if (mFieldImages != nullptr)
    {
        location = Vector2<float>(static_cast<float>(mFieldImages->GetImageWidth(3)),
                                  static_cast<float>(mFieldImages->GetImageHeight(0)));
    }
    const float box = GetTextBoxWidth();
    const float text = GetTextWidth(mValue);
    if (mTextAlign == HAlignment_Center)
        location.x += box * 0.5f - text * 0.5f;
    else if (mTextAlign == HAlignment_Right)
        location.x += box - text;
    return location;
}

void TextEditNode::SetValue(const std::wstring& text)
{
    mValue = text;
    if (mMaxCharacterCount >= 0 && mValue.size() > static_cast<size_t>(mMaxCharacterCount))
        mValue.resize(static_cast<size_t>(mMaxCharacterCount));
    if (mMaxStringWidth >= 0)
    {
        // The longest prefix that fits, found in one pass: a prefix of k characters measures the pairs
        // before its last character plus that character before the end, so a long pasted text costs no
        // quadratic time.
        size_t fitting = 0;
        float pairs = 0.0f;
        for (size_t k = 1; k <= mValue.size(); ++k)
        {
            const float width = pairs + static_cast<float>(KernedWidth(mValue[k - 1], L'\0'));
            if (RoundedWidth(width) <= mMaxStringWidth)
                fitting = k;
            if (k < mValue.size())
                pairs += static_cast<float>(KernedWidth(mValue[k - 1], mValue[k]));
        }
        mValue.resize(fitting);
    }
    mCaretIndex = std::min<uint32_t>(mCaretIndex, static_cast<uint32_t>(mValue.size()));

    const Vector2<float> location = GetTextLocation();
    mCaretLocation = location;
    for (uint32_t i = 0; i < mCaretIndex; ++i)
        mCaretLocation.x += static_cast<float>(KernedWidth(mValue[i], i + 1 < mValue.size() ? mValue[i + 1] : L'\0'));

    const float box = GetTextBoxWidth();
    if (mCaretLocation.x + mScrollOffset > location.x + box)
        mScrollOffset = box - (mCaretLocation.x - location.x);
    else if (mCaretLocation.x + mScrollOffset < location.x)
        mScrollOffset = location.x - mCaretLocation.x;
}

void TextEditNode::SetFieldImages(const IImageList* images)
{
    mFieldImages = images;
    SetValue(mValue);
    UpdateBounds();
}

void TextEditNode::SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder)
{
    FontComponent::SetFont(font, std::move(holder));
    SetValue(mValue);
    UpdateBounds();
}

void TextEditNode::SetCursorImage(const IImage* image)
{
    // The animation refers to the list: it goes first.
    mCursorAnimation.reset();
    mCursorImages = std::make_unique<ImageList>();
    mCursorImages->AddImage(image);
    mCursorImages->AddOwnedImage(new Image());
    mCursorAnimation = std::make_unique<Animation>(mCursorImages.get(), AnimationMode_Loop, 2.0f);
}

void TextEditNode::SetMaxCharacterCount(int count)
{
    mMaxCharacterCount = count < 0 ? kNoCharacterLimit : count;
    SetValue(mValue);
}

void TextEditNode::SetMaxStringWidth(int width)
{
    mMaxStringWidth = width < 0 ? -1 : width;
    SetValue(mValue);
}

void TextEditNode::SetPasswordMode(bool on)
{
    mPasswordMode = on;
    SetValue(mValue);
}

void TextEditNode::SetPasswordCharacter(wchar_t c)
{
    mPasswordCharacter = c;
    SetValue(mValue);
}

void TextEditNode::SetTextAlign(HAlignment align)
{
    mTextAlign = align;
    SetValue(mValue);
}

void TextEditNode::UpdateBounds()
{
    if (mFieldImages != nullptr)
    {
        SetHeight(GetTextBoxHeight() +
                  static_cast<float>(mFieldImages->GetImageHeight(0) + mFieldImages->GetImageHeight(6)));
    }
    else
    {
        // A frameless field is a line of text high, so a click can still find it.
        SetHeight(GetTextBoxHeight());
    }
}

void TextEditNode::TextChanged()
{
    static const Label message("TextEditChange");
    ObjectDatabase* database = GetDatabase() ? GetDatabase() : GetObjectDatabase();
    if (database != nullptr)
        database->SendMessage(ObjectMessage(GetID(), message));
}

void TextEditNode::InsertCharacter(wchar_t c)
{
    std::wstring candidate = mValue;
    candidate.insert(candidate.begin() + mCaretIndex, c);
    if (mMaxStringWidth >= 0 && RoundedWidth(GetTextWidth(candidate)) > mMaxStringWidth)
        return;
    if (mMaxCharacterCount >= 0 && candidate.size() > static_cast<size_t>(mMaxCharacterCount))
        return;
    ++mCaretIndex;
    SetValue(candidate);
    TextChanged();
}

void TextEditNode::DeleteCharacterBeforeCarat()
{
    if (mCaretIndex == 0)
        return;
    --mCaretIndex;
    std::wstring text = mValue;
    text.erase(mCaretIndex, 1);
    SetValue(text);
    TextChanged();
}

void TextEditNode::DeleteCharacterAfterCarat()
{
    if (mCaretIndex >= mValue.size())
        return;
    std::wstring text = mValue;
    text.erase(mCaretIndex, 1);
    SetValue(text);
    TextChanged();
}

void TextEditNode::Update(float seconds)
{
    if (std::isfinite(seconds))
    {
        // Kept within one blink cycle so the clock never loses its precision in a long session.
        mBlinkClock = std::fmod(mBlinkClock + seconds, 1.0f);
    }
}

bool TextEditNode::TakesInput()
{
    return HasFocus() && GlobalIsVisible();
}

MessageResult TextEditNode::OnKeyDown(int key)
{
    if (!TakesInput() || key == kKeyEngage || key == kKeyDisengage || key == kKeyEnter || key == kKeyTab ||
        key == kKeyEscape)
        return MessageResult_Unhandled;
    switch (key)
    {
    case kKeyBackspace:
        DeleteCharacterBeforeCarat();
        break;
    case kKeyDelete:
        DeleteCharacterAfterCarat();
        break;
    case kKeyHome:
        mCaretIndex = 0;
        SetValue(mValue);
        break;
    case kKeyEnd:
        mCaretIndex = static_cast<uint32_t>(mValue.size());
        SetValue(mValue);
        break;
    case kKeyLeft:
        if (mCaretIndex > 0)
        {
            --mCaretIndex;
            SetValue(mValue);
        }
        break;
    case kKeyRight:
        if (mCaretIndex < mValue.size())
        {
            ++mCaretIndex;
            SetValue(mValue);
        }
        break;
    default:
        break;
    }
    return MessageResult_Handled;
}

MessageResult TextEditNode::OnTextInput(const std::wstring& text)
{
    if (!TakesInput())
        return MessageResult_Unhandled;
    for (wchar_t c : text)
        if (static_cast<uint32_t>(c) > 31)
            InsertCharacter(c);
    return MessageResult_Handled;
}

void TextEditNode::DrawAt(const Vector2<float>& offset)
{
    if (!GlobalIsVisible())
        return;
    const Rect<float>& bounds = GlobalGetBounds();
    const Vector2<float> pos(bounds.x + offset.x, bounds.y + offset.y);
    Graphics::sDrawState state = Graphics::GetDrawState();
    state.imageColor.a = GlobalGetColor().a;
    ICanvas* canvas = Graphics::GetCanvas();

    if (mFieldImages != nullptr)
    {
        // The drawing calls take lists as changeable (a canvas may cache textures); the images stay.
        Graphics::DrawNineBrush(const_cast<IImageList*>(mFieldImages), 0, pos.x, pos.y, GetWidth(), GetHeight(), state,
                                canvas);
    }

    const Vector2<float> location = GetTextLocation();
    if (mFont != nullptr)
    {
        const std::wstring shown = mPasswordMode ? std::wstring(mValue.size(), mPasswordCharacter) : mValue;
        const Rect<int> box(Graphics::TruncateToInt(pos.x + location.x), Graphics::TruncateToInt(pos.y + location.y),
                            Graphics::TruncateToInt(GetTextBoxWidth()), Graphics::TruncateToInt(GetTextBoxHeight()));
        Graphics::sDrawState textState = state;
        textState.font = mFont;
        textState.color = GlobalGetColor();
        textState.clipRect = box.getUnion(clipRect);
        Graphics::DrawText(shown.c_str(), pos.x + location.x + mScrollOffset, pos.y + location.y, textState, canvas);
    }

    if (mCursorAnimation && HasFocus() && IsEnabled())
    {
        Graphics::sDrawState caretState = state;
        caretState.hAlign = HAlignment_Center;
        const Rect<float> caret(static_cast<float>(Graphics::TruncateToInt(pos.x + mCaretLocation.x + mScrollOffset)),
                                static_cast<float>(Graphics::TruncateToInt(pos.y + mCaretLocation.y)),
                                static_cast<float>(mCursorAnimation->GetWidth()),
                                static_cast<float>(Graphics::TruncateToInt(GetHeight() - 2.0f * mCaretLocation.y)));
        Graphics::DrawStretchedAnimation(mCursorAnimation.get(), mBlinkClock, caret, caretState, canvas);
    }
}

std::unique_ptr<SceneNodeDescriptor> TextEditNodeFactory::CreateDescriptor(const IAttributeContainer& element) const
{
    auto descriptor = std::make_unique<TextEditNodeDescriptor>();
    descriptor->fieldImages = Label::FromString(element.GetAttribute(L"fieldImages"));
    descriptor->cursorImage = Label::FromString(element.GetAttribute(L"cursorImage"));
    descriptor->width = FiniteLayoutAttribute(element, L"width", 0.0f);
    descriptor->font = Label::FromString(element.GetAttribute(L"font"));
    descriptor->maxCharacters = element.GetAttribute(L"maxCharacters", TextEditNode::kNoCharacterLimit);
    descriptor->maxStringWidth = element.GetAttribute(L"maxStringWidth", -1);
    descriptor->passwordMode = element.GetAttribute(L"passwordMode", false);
    const std::wstring password = element.GetAttribute(L"passwordCharacter");
    if (!password.empty())
        descriptor->passwordCharacter = password[0];
    descriptor->textAlign = TextAlignAttribute(element.GetAttribute(L"textalign"));
    return descriptor;
}

SceneTreePtr TextEditNodeFactory::CreateNode(const SceneNodeDescriptor* descriptor) const
{
    const auto* own = dynamic_cast<const TextEditNodeDescriptor*>(descriptor);
    if (own == nullptr)
        return nullptr;
    HeldResource<IImageList> field = FindNodeResource<IImageList>("texteditnode", "image list", own->fieldImages);
    HeldResource<IImage> cursor = FindNodeResource<IImage>("texteditnode", "image", own->cursorImage);
    HeldResource<Font> font = FindNodeResource<Font>("texteditnode", "font", own->font);
    auto* node = new TextEditNode(Label());
    SceneTreePtr tree(node);
    node->HoldResources(std::move(field.holder), std::move(cursor.holder));
    node->SetFieldImages(field.resource);
    node->SetCursorImage(cursor.resource);
    node->SetWidth(own->width);
    node->SetFont(font.resource, std::move(font.holder));
    node->SetMaxCharacterCount(own->maxCharacters);
    node->SetMaxStringWidth(own->maxStringWidth);
    node->SetPasswordMode(own->passwordMode);
    node->SetPasswordCharacter(own->passwordCharacter);
    node->SetTextAlign(own->textAlign);
    return tree;
}

} // namespace Strata
