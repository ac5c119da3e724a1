#pragma once

#include "controls/ControlObject.h"
#include "controls/ObjectFactory.h"
#include "core/Color.h"
#include "core/Vector2.h"
#include "graphics/ImageList.h"

#include <memory>
#include <string>

namespace Strata
{

class Font;
class Image;
class IImageList;
class IResourceDescriptor;

// A one-line text entry field (layout type "textedit"): a nine-slice field, the text clipped to it and
// scrolled to keep the caret in view, and a blinking caret while focused. Takes typed characters and
// the editing keys, keeps to a maximum character count and text width, can show every character as a
// password character, and broadcasts "TextEditChange" with its identifier for every edit.
class TextEditObject : public ControlObject
{
public:
    static constexpr int kNoLimit = -1;

    explicit TextEditObject(Label name);
    // `alphaSensitivity` is accepted for the callers' sake; the field has no pixel test.
    TextEditObject(Label name, float alphaSensitivity, const Vector2<float>& position, ImageListHandle fieldImages,
                   const Image* cursorImage, float width, const Font* font, const ColorF& color);
    ~TextEditObject() override;

    const std::wstring& GetValue() const { return mValue; }
    // Cuts the text to the limits, keeps the caret inside it and scrolls it into view. Sends nothing.
    void SetValue(const std::wstring& text);

    // Each stores the setting and applies it to the value at once. A negative limit means none.
    void SetPasswordCharacter(wchar_t character);
    void SetPasswordMode(bool passwordMode);
    void SetMaxStringWidth(int width);
    void SetMaxCharacterCount(int count);
    // With field images the height becomes the text box's plus field images 0 and 6.
    void SetFieldImages(ImageListHandle images);
    void SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder = nullptr) override;
    // Null removes the caret. The image must outlive its use here unless `holder`, its resource
    // descriptor, keeps it alive.
    void SetCursorImage(const Image* image, std::shared_ptr<IResourceDescriptor> holder = nullptr);
    // 0 left, 1 centre, 2 right; other values are ignored.
    void SetTextAlign(int align);

    // The width minus field images 3 and 5.
    float GetTextBoxWidth() const;
    // 0 without a font; the glyph height without field images (or when field image 3 is 0 pixels high);
    // else the smallest positive multiple of field image 3's height not below the glyph height.
    float GetTextBoxHeight() const;
    // The text's top-left relative to the control: (width of field image 3, height of field image 0),
    // shifted by the alignment.
    Vector2<float> GetTextLocation() const;
    // The kerned width of the text as shown (password characters in password mode); 0 without a font.
    float GetTextWidth(const std::wstring& text) const;

    void Update(float dt) override;
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    // With the focus every key but 512, 513, Enter, Tab and Escape is used.
    MessageResult OnKeyDown(int key) override;
    // With the focus inserts every character above 31.
    MessageResult OnTextInput(const std::wstring& text) override;
    // A missing field image list or font is logged once; that part is not drawn.
    void Draw() override;

    int GetCaret() const { return mCaret; }
    float GetScroll() const { return mScroll; }
    Vector2<float> GetCaretPosition() const { return Vector2<float>(mCaretX, mCaretY); }
    int GetMaxCharacterCount() const { return mMaxCharacters; }
    int GetMaxStringWidth() const { return mMaxStringWidth; }
    bool IsPasswordMode() const { return mPasswordMode; }
    wchar_t GetPasswordCharacter() const { return mPasswordCharacter; }
    int GetTextAlign() const { return mTextAlign; }
    const IImageList* GetFieldImages() const { return mFieldImages; }
    const Image* GetCursorImage() const { return mCursorImage; }

private:
    void InsertCharacter(wchar_t c);
    void DeleteCharacterBeforeCarat();
    void DeleteCharacterAfterCarat();
    void SendChange();
    void FitHeight();
    // The kerned advance of text[i] with its successor (0 after the last), as shown.
    float GetAdvance(const std::wstring& text, size_t i) const;

    ImageListHandle mFieldImages;
    const Image* mCursorImage = nullptr;
    std::shared_ptr<IResourceDescriptor> mCursorHolder;
    std::unique_ptr<ImageList> mCursorImages;
    Animation mCursorAnimation;
    float mTime = 0.0f;
    float mCaretX = 0.0f;
    float mCaretY = 0.0f;
    float mScroll = 0.0f;
    int mCaret = 0;
    std::wstring mValue;
    int mMaxCharacters = kNoLimit;
    int mMaxStringWidth = kNoLimit;
    bool mPasswordMode = false;
    wchar_t mPasswordCharacter = L'*';
    int mTextAlign = 0;
    bool mReportedMissingField = false;
    bool mReportedMissingFont = false;
};

// Reads "fieldImages", "cursorImage", "maxCharacters", "maxStringWidth", "passwordMode",
// "passwordCharacter" (its first character; empty changes nothing) and "textalign" ("left", "center",
// "right"; anything else changes nothing). A missing resource leaves none.
class TextEditObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata
