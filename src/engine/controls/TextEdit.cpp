#include "controls/TextEdit.h"

#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
#include "core/Log.h"
#include "framework/ObjectDatabase.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Brush.h"
#include "graphics/Context.h"
#include "graphics/Drawing.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/PixelMath.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Strata
{

namespace
{

// Key codes that belong to the screen around the field, never to the field.
constexpr int kKeyNavigateIn = 512;
constexpr int kKeyNavigateOut = 513;

constexpr float kCaretBlinkRate = 2.0f;

Label GetTextEditChangeMessageName()
{
    static const Label name("TextEditChange");
    return name;
}

} // namespace

TextEditObject::TextEditObject(Label name) : ControlObject(name)
{
}

TextEditObject::TextEditObject(Label name, float, const Vector2<float>& position, ImageListHandle fieldImages,
                               const Image* cursorImage, float width, const Font* font, const ColorF& color)
    : ControlObject(name)
{
    SetColor(color);
    SetFont(font);
    SetLocation(position);
    SetWidth(width);
    SetCursorImage(cursorImage);
    SetFieldImages(fieldImages);
}

TextEditObject::~TextEditObject() = default;

float TextEditObject::GetAdvance(const std::wstring& text, size_t i) const
{
    if (!mFont || i >= text.size())
        return 0.0f;
    const bool last = i + 1 >= text.size();
    const wchar_t c = mPasswordMode ? mPasswordCharacter : text[i];
    const wchar_t next = last ? L'\0' : (mPasswordMode ? mPasswordCharacter : text[i + 1]);
    return static_cast<float>(mFont->GetKernedLetterWidth(c, next));
}

float TextEditObject::GetTextWidth(const std::wstring& text) const
{
    float width = 0.0f;
    for (size_t i = 0; i < text.size(); ++i)
        width += GetAdvance(text, i);
    return width;
}

float TextEditObject::GetTextBoxWidth() const
{
    if (!mFieldImages)
        return mBounds.width;
    return mBounds.width - static_cast<float>(mFieldImages->GetImageWidth(3)) -
           static_cast<float>(mFieldImages->GetImageWidth(5));
}

float TextEditObject::GetTextBoxHeight() const
{
    if (!mFont)
        return 0.0f;
    const long long glyph = std::max(0, mFont->GetGlyphHeight());
    const long long row = mFieldImages ? mFieldImages->GetImageHeight(3) : 0;
    // A 0-pixel middle row has no multiples to round to: the glyph height stands.
    if (row <= 0)
        return static_cast<float>(glyph);
    const long long rows = std::max(1LL, (glyph + row - 1) / row);
    return static_cast<float>(rows * row);
}

Vector2<float> TextEditObject::GetTextLocation() const
{
    Vector2<float> location(0.0f, 0.0f);
    if (mFieldImages)
    {
        location = Vector2<float>(static_cast<float>(mFieldImages->GetImageWidth(3)),
                                  static_cast<float>(mFieldImages->GetImageHeight(0)));
    }
    if (mTextAlign == 1)
        location.x += (GetTextBoxWidth() - GetTextWidth(mValue)) / 2.0f;
    else if (mTextAlign == 2)
        location.x += GetTextBoxWidth() - GetTextWidth(mValue);
    return location;
}

void TextEditObject::SetValue(const std::wstring& text)
{
    std::wstring value = text;
    if (mMaxCharacters >= 0 && value.size() > static_cast<size_t>(mMaxCharacters))
        value.resize(static_cast<size_t>(mMaxCharacters));
    if (mMaxStringWidth >= 0)
        while (!value.empty() && std::floor(GetTextWidth(value) + 0.5f) > static_cast<float>(mMaxStringWidth))
            value.pop_back();
    mValue = std::move(value);
    if (mCaret < 0)
        mCaret = 0;
    if (static_cast<size_t>(mCaret) > mValue.size())
        mCaret = static_cast<int>(mValue.size());

    const Vector2<float> location = GetTextLocation();
    mCaretX = location.x;
    mCaretY = location.y;
    for (size_t i = 0; i < static_cast<size_t>(mCaret); ++i)
        mCaretX += GetAdvance(mValue, i);

    const float boxWidth = GetTextBoxWidth();
    if (mCaretX + mScroll > location.x + boxWidth)
        mScroll = boxWidth - (mCaretX - location.x);
    else if (mCaretX + mScroll < location.x)
        mScroll = location.x - mCaretX;
}

void TextEditObject::SetPasswordCharacter(wchar_t character)
{
    mPasswordCharacter = character;
    SetValue(mValue);
}

void TextEditObject::SetPasswordMode(bool passwordMode)
{
    mPasswordMode = passwordMode;
    SetValue(mValue);
}

void TextEditObject::SetMaxStringWidth(int width)
{
    mMaxStringWidth = width < 0 ? kNoLimit : width;
    SetValue(mValue);
}

void TextEditObject::SetMaxCharacterCount(int count)
{
    mMaxCharacters = count < 0 ? kNoLimit : count;
    SetValue(mValue);
}

void TextEditObject::FitHeight()
{
    if (mFieldImages)
    {
        SetHeight(GetTextBoxHeight() + static_cast<float>(mFieldImages->GetImageHeight(0)) +
                  static_cast<float>(mFieldImages->GetImageHeight(6)));
    }
    SetValue(mValue);
}

void TextEditObject::SetFieldImages(ImageListHandle images)
{
    mFieldImages = images;
    FitHeight();
}

void TextEditObject::SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder)
{
    ControlObject::SetFont(font, std::move(holder));
    FitHeight();
}

void TextEditObject::SetCursorImage(const Image* image, std::shared_ptr<IResourceDescriptor> holder)
{
    mCursorImage = image;
    mCursorHolder = image ? std::move(holder) : nullptr;
    mCursorAnimation = Animation();
    mCursorImages.reset();
    if (!image)
        return;
    // The caret shows for half a second, then the empty image for half a second.
    mCursorImages = std::make_unique<ImageList>();
    mCursorImages->AddImage(image);
    mCursorImages->AddOwnedImage(new Image());
    mCursorAnimation = Animation(mCursorImages.get(), AnimationMode_Loop, kCaretBlinkRate);
}

void TextEditObject::SetTextAlign(int align)
{
    if (align < 0 || align > 2)
        return;
    mTextAlign = align;
    SetValue(mValue);
}

void TextEditObject::Update(float dt)
{
    ControlObject::Update(dt);
    mTime += dt;
}

void TextEditObject::SendChange()
{
    if (ObjectDatabase* database = GetObjectDatabase())
        database->SendMessage(ObjectMessage(GetID(), GetTextEditChangeMessageName()));
}

void TextEditObject::InsertCharacter(wchar_t c)
{
    std::wstring value = mValue;
    value.insert(static_cast<size_t>(mCaret), 1, c);
    if (mMaxStringWidth >= 0 && std::floor(GetTextWidth(value) + 0.5f) > static_cast<float>(mMaxStringWidth))
        return;
    if (mMaxCharacters >= 0 && value.size() > static_cast<size_t>(mMaxCharacters))
        return;
    ++mCaret;
    SetValue(value);
    SendChange();
}

void TextEditObject::DeleteCharacterBeforeCarat()
{
    if (mCaret <= 0)
        return;
    --mCaret;
    std::wstring value = mValue;
    value.erase(static_cast<size_t>(mCaret), 1);
    SetValue(value);
    SendChange();
}

void TextEditObject::DeleteCharacterAfterCarat()
{
    if (static_cast<size_t>(mCaret) >= mValue.size())
        return;
    std::wstring value = mValue;
    value.erase(static_cast<size_t>(mCaret), 1);
    SetValue(value);
    SendChange();
}

MessageResult TextEditObject::OnMouseDown(MouseButton, int x, int y)
{
    if (!BoundsContains(static_cast<float>(x), static_cast<float>(y)))
        return MessageResult_Unhandled;
    Focus();
    return MessageResult_Handled;
}

MessageResult TextEditObject::OnKeyDown(int key)
{
    if (!HasFocus() || key == kKeyNavigateIn || key == kKeyNavigateOut || key == Key_Enter || key == Key_Tab ||
        key == Key_Escape)
        return MessageResult_Unhandled;
    const int length = static_cast<int>(mValue.size());
    switch (key)
    {
    case Key_Backspace:
        DeleteCharacterBeforeCarat();
        break;
    case Key_Delete:
        DeleteCharacterAfterCarat();
        break;
    case Key_Home:
        mCaret = 0;
        SetValue(mValue);
        break;
    case Key_End:
        mCaret = length;
        SetValue(mValue);
        break;
    case Key_Left:
        if (mCaret > 0)
        {
            --mCaret;
            SetValue(mValue);
        }
        break;
    case Key_Right:
        if (mCaret < length)
        {
            ++mCaret;
            SetValue(mValue);
        }
        break;
    default:
        break;
    }
    return MessageResult_Handled;
}

MessageResult TextEditObject::OnTextInput(const std::wstring& text)
{
    if (!HasFocus())
        return MessageResult_Unhandled;
    for (const wchar_t c : text)
        if (c > 31)
            InsertCharacter(c);
    return MessageResult_Handled;
}

void TextEditObject::Draw()
{
    if (!mVisible)
        return;
    ICanvas* canvas = Graphics::GetCanvas();
    const Graphics::sDrawState& defaults = Graphics::sDrawState::GetDefaults();
    const float x = mBounds.x;
    const float y = mBounds.y;

    if (mFieldImages)
    {
        // The drawing calls take the list as mutable; they only read it.
        Graphics::DrawNineBrush(const_cast<IImageList*>(mFieldImages.Get()), 0, x, y, mBounds.width, mBounds.height,
                                defaults, canvas);
    }
    else if (!mReportedMissingField)
    {
        mReportedMissingField = true;
        Internal::LogWrite("TextEditObject %s: no field images, so no field is drawn.\n", mName.c_str());
    }

    if (mFont)
    {
        const Vector2<float> location = GetTextLocation();
        Graphics::sDrawState state = defaults;
        state.font = mFont;
        state.color = mColor;
        state.clipRect =
            Rect<int>(Graphics::TruncateToInt(x + location.x), Graphics::TruncateToInt(y + location.y),
                      Graphics::TruncateToInt(GetTextBoxWidth()), Graphics::TruncateToInt(GetTextBoxHeight()));
        const std::wstring shown = mPasswordMode ? std::wstring(mValue.size(), mPasswordCharacter) : mValue;
        Graphics::DrawText(shown.c_str(), x + location.x + mScroll, y + location.y, state, canvas);
    }
    else if (!mReportedMissingFont)
    {
        mReportedMissingFont = true;
        Internal::LogWrite("TextEditObject %s: no font, so no text is drawn.\n", mName.c_str());
    }

    if (mCursorImage && HasFocus() && IsEnabled())
    {
        Graphics::sDrawState state = defaults;
        state.hAlign = HAlignment_Center;
        const Rect<float> caret(x + mCaretX + mScroll, y + mCaretY, static_cast<float>(mCursorAnimation.GetWidth()),
                                mBounds.height - 2.0f * mCaretY);
        Graphics::DrawStretchedAnimation(&mCursorAnimation, mTime, caret, state, canvas);
    }
}

Object* TextEditObjectFactory::CreateObject(Label name, const IAttributeContainer& attributes)
{
    auto edit = std::make_unique<TextEditObject>(name);
    if (attributes.HasAttribute(L"fieldImages"))
        edit->SetFieldImages(FindImageListAttribute(attributes, L"fieldImages"));
    if (attributes.HasAttribute(L"cursorImage"))
    {
        const std::wstring image = attributes.GetAttribute(L"cursorImage");
        if (!image.empty())
        {
            const AutoResource<Image> cursor(Label::FromString(image));
            edit->SetCursorImage(cursor.Get(), cursor.GetDescriptor());
        }
    }
    if (attributes.HasAttribute(L"maxCharacters"))
        edit->SetMaxCharacterCount(attributes.GetAttribute(L"maxCharacters", TextEditObject::kNoLimit));
    if (attributes.HasAttribute(L"maxStringWidth"))
        edit->SetMaxStringWidth(attributes.GetAttribute(L"maxStringWidth", TextEditObject::kNoLimit));
    if (attributes.HasAttribute(L"passwordMode"))
        edit->SetPasswordMode(attributes.GetAttribute(L"passwordMode", false));
    const std::wstring password = attributes.GetAttribute(L"passwordCharacter");
    if (!password.empty())
        edit->SetPasswordCharacter(password[0]);
    const std::wstring align = attributes.GetAttribute(L"textalign");
    if (align == L"left")
        edit->SetTextAlign(0);
    else if (align == L"center")
        edit->SetTextAlign(1);
    else if (align == L"right")
        edit->SetTextAlign(2);
    return edit.release();
}

} // namespace Strata
