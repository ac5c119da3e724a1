#pragma once

#include "core/Label.h"
#include "core/Vector2.h"
#include "framework/ObjectInterfaces.h"
#include "graphics/DrawState.h"
#include "graphics/FontComponent.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Strata
{

class Animation;
class IImage;
class IImageList;
class ImageList;
class IResourceDescriptor;

// A one-line text field: a nine-slice frame, the text in a bitmap font inside the frame's inner box,
// scrolled so that the caret stays visible, and a blinking caret while it has the focus. A click
// focuses it; text input inserts characters, keys edit. Limits the text by characters and by pixels,
// can show every character as a password character, and sends "TextEditChange" after every edit.
// A field that is not globally visible neither draws nor takes keys or text.
class TextEditNode : public SceneNode, public FontComponent, public EnableComponent
{
public:
    static constexpr int kNoCharacterLimit = -1;

    explicit TextEditNode(Label name = Label());
    ~TextEditNode() override;

    // The central update: cuts the text to the limits, keeps the caret within it and scrolls so it
    // shows. Sends nothing.
    void SetValue(const std::wstring& text);
    const std::wstring& GetValue() const { return mValue; }

    // Not owned: they must outlive their use here unless HoldResources (or the font's holder) keeps
    // them alive.
    void SetFieldImages(const IImageList* images);
    void SetFont(const Font* font, std::shared_ptr<IResourceDescriptor> holder = nullptr) override;
    // The caret image (null: no caret), blinking at half-second intervals.
    void SetCursorImage(const IImage* image);
    void HoldResources(std::shared_ptr<IResourceDescriptor> field, std::shared_ptr<IResourceDescriptor> cursor);

    // Each stores, then SetValue with the current text, so a new limit applies at once. A negative
    // limit is no limit.
    void SetMaxCharacterCount(int count);
    void SetMaxStringWidth(int width);
    void SetPasswordMode(bool on);
    void SetPasswordCharacter(wchar_t c);
    // Then SetValue, so the caret follows.
    void SetTextAlign(HAlignment align);

    int GetMaxCharacterCount() const { return mMaxCharacterCount; }
    int GetMaxStringWidth() const { return mMaxStringWidth; }
    bool GetPasswordMode() const { return mPasswordMode; }
    wchar_t GetPasswordCharacter() const { return mPasswordCharacter; }
    HAlignment GetTextAlign() const { return mTextAlign; }
    uint32_t GetCaretIndex() const { return mCaretIndex; }
    const Vector2<float>& GetCaretLocation() const { return mCaretLocation; }
    float GetScrollOffset() const { return mScrollOffset; }

    // Geometry relative to the node's top-left.
    float GetTextBoxWidth() const;
    float GetTextBoxHeight() const;
    Vector2<float> GetTextLocation() const;
    // Kerned, in password mode as password characters; 0 without a font.
    float GetTextWidth(const std::wstring& text) const;

    // Each edit that changes the text sends "TextEditChange"; an edit that would break a limit is
    // refused silently.
    void InsertCharacter(wchar_t c);
    void DeleteCharacterBeforeCarat();
    void DeleteCharacterAfterCarat();

    void Update(float seconds) override;
    MessageResult OnKeyDown(int key) override;
    MessageResult OnTextInput(const std::wstring& text) override;
    void DrawAt(const Vector2<float>& offset) override;

private:
    void UpdateBounds();
    bool TakesInput();
    wchar_t Shown(wchar_t c) const { return mPasswordMode ? mPasswordCharacter : c; }
    int KernedWidth(wchar_t c, wchar_t next) const;
    void TextChanged();

    const IImageList* mFieldImages = nullptr;
    std::unique_ptr<ImageList> mCursorImages;
    std::unique_ptr<Animation> mCursorAnimation;
    float mBlinkClock = 0.0f;
    Vector2<float> mCaretLocation;
    float mScrollOffset = 0.0f;
    uint32_t mCaretIndex = 0;
    std::wstring mValue;
    int mMaxCharacterCount = kNoCharacterLimit;
    int mMaxStringWidth = -1;
    bool mPasswordMode = false;
    wchar_t mPasswordCharacter = L'*';
    HAlignment mTextAlign = HAlignment_Left;
    std::shared_ptr<IResourceDescriptor> mHolders[2];
};

class TextEditNodeDescriptor : public SceneNodeDescriptor
{
public:
    Label fieldImages;
    Label cursorImage;
    float width = 0.0f;
    Label font;
    int maxCharacters = TextEditNode::kNoCharacterLimit;
    int maxStringWidth = -1;
    bool passwordMode = false;
    wchar_t passwordCharacter = L'*';
    HAlignment textAlign = HAlignment_Left;
};

// "texteditnode": "fieldImages", "cursorImage", "width", "font", "maxCharacters", "maxStringWidth",
// "passwordMode", "passwordCharacter" (its first character), "textalign" ("left", "center", "right").
class TextEditNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer& element) const override;
    SceneTreePtr CreateNode(const SceneNodeDescriptor* descriptor) const override;
};

} // namespace Strata
