#include "controls/TextEdit.h"

#include "core/AttributeContainer.h"
#include "core/KeyCodes.h"
#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "graphics/Context.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"
#include "graphics/SoftwareCanvas.h"
#include "support/KerningEditCases.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace Strata;

namespace
{

Image* Solid(int width, int height, Color32 color)
{
    return new Image(std::vector<Color32>(static_cast<size_t>(width) * height, color), width, height, true, false);
}

// Letters advance 6 pixels, '*' 10, but "A" before "V" 4 and "V" before "A" 5, so a width that drops,
// swaps or misplaces a kerning pair comes out wrong; glyphs are 6 x 6 green blocks.
class SixFont : public Font
{
public:
    SixFont() : mGlyph(Solid(6, 6, Color32(0, 255, 0, 255))) {}
    void GetGlyph(wchar_t, sGlyph* out) const override
    {
        if (out)
            *out = sGlyph{mGlyph.get(), 0, 0, 6, 6};
    }
    int GetGlyphHeight() const override { return glyphHeight; }
    int GetKernedLetterWidth(wchar_t c, wchar_t next) const override
    {
        if (c == L'A' && next == L'V')
            return 4;
        if (c == L'V' && next == L'A')
            return 5;
        return c == L'*' ? 10 : 6;
    }
    int glyphHeight = 6;

private:
    std::unique_ptr<Image> mGlyph;
};

// Nine field images; image 3 is 3 wide and 4 high, 5 is 5 wide, 0 and 6 are 2 high.
std::unique_ptr<ImageList> Field(int middleHeight = 4)
{
    auto list = std::make_unique<ImageList>();
    for (int i = 0; i < 9; ++i)
    {
        const int width = i % 3 == 0 ? 3 : (i % 3 == 2 ? 5 : 2);
        const int height = i / 3 == 1 ? middleHeight : 2;
        list->AddOwnedImage(Solid(width, height, Color32(0, 0, 200, 255)));
    }
    return list;
}

class RecordingMode : public ApplicationMode
{
public:
    void ReceiveMessage(const ObjectMessage& message) override
    {
        if (message.GetName() == Label("TextEditChange") && message.GetSender() == sender)
            ++changes;
    }
    ObjectID sender;
    int changes = 0;
};

class TextEditTest : public ::testing::Test
{
protected:
    TextEditTest()
    {
        MainLoop::WithinContext(&mode, guard);
        edit = new TextEditObject(Label("e"), 25.0f, Vector2<float>(0, 0), nullptr, nullptr, 200.0f, &font,
                                  ColorF(1, 1, 1, 1));
        edit->SetHeight(10.0f); // without field images the layout gives the height
        mode.AddObject(edit);
        mode.Update(0.0f);
        mode.sender = edit->GetID();
    }

    void Type(const std::wstring& text) { mode.OnTextInput(text); }

    SixFont font;
    RecordingMode mode;
    MainLoop::AutoContext guard;
    TextEditObject* edit = nullptr;
};

TEST_F(TextEditTest, FieldGeometryUsesTheRightImagesAndSurvivesAFlatMiddleRow)
{
    auto field = Field();
    edit->SetFieldImages(field.get());
    // (width of image 3, height of image 0), not the other way round.
    EXPECT_EQ(Vector2<float>(3.0f, 2.0f), edit->GetTextLocation());
    EXPECT_EQ(192.0f, edit->GetTextBoxWidth());
    EXPECT_EQ(8.0f, edit->GetTextBoxHeight()); // 6 rounded up to rows of 4
    EXPECT_EQ(12.0f, edit->GetBounds().height);

    auto flat = Field(0);
    edit->SetFieldImages(flat.get()); // must neither hang nor divide by zero
    EXPECT_EQ(6.0f, edit->GetTextBoxHeight());
    edit->SetFont(nullptr);
    EXPECT_EQ(0.0f, edit->GetTextBoxHeight());
    edit->SetFont(&font);

    edit->SetFieldImages(field.get());
    edit->SetValue(L"abc"); // 18 wide in a box of 192
    edit->SetTextAlign(2);
    EXPECT_EQ(3.0f + 174.0f, edit->GetTextLocation().x);
    edit->SetTextAlign(1);
    EXPECT_EQ(3.0f + 87.0f, edit->GetTextLocation().x);
}

TEST_F(TextEditTest, TypingNeedsTheFocusAndKeepsToTheCharacterLimit)
{
    EXPECT_EQ(MessageResult_Unhandled, edit->OnTextInput(L"x"));
    EXPECT_EQ(MessageResult_Handled, mode.OnMouseDown(MouseButton_Left, 5, 3)); // takes the focus
    ASSERT_TRUE(edit->HasFocus());
    edit->SetMaxCharacterCount(3);
    Type(L"abcd");
    EXPECT_EQ(L"abc", edit->GetValue());
    EXPECT_EQ(3, mode.changes);

    edit->SetMaxCharacterCount(-1);
    edit->SetValue(L"abcde");
    mode.OnKeyDown(Key_End);
    EXPECT_EQ(5, edit->GetCaret());
    edit->SetMaxCharacterCount(2);
    EXPECT_EQ(L"ab", edit->GetValue());
    EXPECT_EQ(2, edit->GetCaret());
}

TEST_F(TextEditTest, TextInputTakesCharactersBeyondAsciiAndDropsControls)
{
    edit->Focus();
    Type(L"\u00e9\t\u65e5\n\x1f\U0001F600 ");
    EXPECT_EQ(std::wstring(L"\u00e9\u65e5\U0001F600 "), edit->GetValue());
    EXPECT_EQ(4, edit->GetCaret());
    EXPECT_EQ(4, mode.changes);
    mode.OnKeyDown(Key_Left);
    mode.OnKeyDown(Key_Left);
    mode.OnKeyDown(Key_Backspace); // removes the whole ideograph
    EXPECT_EQ(std::wstring(L"\u00e9\U0001F600 "), edit->GetValue());
    EXPECT_EQ(1, edit->GetCaret());
}

TEST_F(TextEditTest, CaretKeysEditInTheMiddleAndDoNothingAtTheEnds)
{
    edit->Focus();
    Type(L"abc");
    mode.changes = 0;
    EXPECT_EQ(MessageResult_Handled, mode.OnKeyDown(Key_Right)); // at the end
    EXPECT_EQ(MessageResult_Handled, mode.OnKeyDown(Key_Delete));
    EXPECT_EQ(L"abc", edit->GetValue());
    mode.OnKeyDown(Key_Home);
    EXPECT_EQ(0.0f, edit->GetCaretPosition().x);
    mode.OnKeyDown(Key_Left);
    mode.OnKeyDown(Key_Backspace);
    EXPECT_EQ(0, edit->GetCaret());
    EXPECT_EQ(0, mode.changes);

    mode.OnKeyDown(Key_Right);
    Type(L"X");
    EXPECT_EQ(L"aXbc", edit->GetValue());
    EXPECT_EQ(12.0f, edit->GetCaretPosition().x);
    mode.OnKeyDown(Key_Delete);
    EXPECT_EQ(L"aXc", edit->GetValue());
    mode.OnKeyDown(Key_Backspace);
    EXPECT_EQ(L"ac", edit->GetValue());
    EXPECT_EQ(1, edit->GetCaret());
    EXPECT_EQ(3, mode.changes);
    EXPECT_EQ(MessageResult_Handled, mode.OnKeyDown('Q')); // swallowed

    for (int key : {int(Key_Enter), int(Key_Tab), int(Key_Escape), 512, 513})
        EXPECT_EQ(MessageResult_Unhandled, edit->OnKeyDown(key)) << key;
    mode.SetFocus(nullptr);
    EXPECT_EQ(MessageResult_Unhandled, edit->OnKeyDown(Key_Backspace));
    EXPECT_EQ(L"ac", edit->GetValue());
}

TEST_F(TextEditTest, WidthLimitAndPasswordMeasureWhatIsShown)
{
    edit->Focus();
    edit->SetMaxStringWidth(20);
    Type(L"abcd");
    EXPECT_EQ(L"abc", edit->GetValue()); // the fourth would be 24 > 20
    EXPECT_EQ(3, mode.changes);

    edit->SetMaxStringWidth(-1);
    edit->SetPasswordMode(true);
    EXPECT_EQ(L"abc", edit->GetValue()); // the value keeps the text
    EXPECT_EQ(30.0f, edit->GetTextWidth(edit->GetValue()));
    EXPECT_EQ(30.0f, edit->GetCaretPosition().x);
    edit->SetMaxStringWidth(25); // two stars fit
    EXPECT_EQ(L"ab", edit->GetValue());
    edit->SetPasswordCharacter(L'#');
    EXPECT_EQ(12.0f, edit->GetTextWidth(edit->GetValue()));
}

TEST_F(TextEditTest, ScrollKeepsTheCaretInTheBox)
{
    edit->SetWidth(30.0f);
    edit->Focus();
    Type(L"abcdefg"); // caret at 42 in a box of 30
    EXPECT_EQ(30.0f, edit->GetCaretPosition().x + edit->GetScroll());
    mode.OnKeyDown(Key_Home);
    EXPECT_EQ(0.0f, edit->GetScroll());
}

TEST_F(TextEditTest, KerningPairsCountInWidthsCaretsAndScrolling)
{
    edit->Focus();
    for (const Testing::sKerningEditCase& c : Testing::kKerningEditCases)
    {
        edit->SetWidth(c.boxWidth);
        edit->SetTextAlign(c.align);
        edit->SetValue(L"");
        edit->SetMaxStringWidth(c.maxStringWidth);
        Type(c.typed);
        if (c.key != 0)
            mode.OnKeyDown(c.key);
        Type(c.typedAfter);
        EXPECT_EQ(c.value, edit->GetValue()) << c.typed;
        EXPECT_EQ(c.caret, edit->GetCaretPosition().x) << c.typed;
        EXPECT_EQ(c.scroll, edit->GetScroll()) << c.typed;
    }
    edit->SetTextAlign(HAlignment_Left);
    // A new limit keeps the longest text whose last letter is measured alone: "AVA" is 15 wide.
    edit->SetMaxStringWidth(-1);
    edit->SetValue(L"AVAV");
    edit->SetMaxStringWidth(14);
    EXPECT_EQ(L"AV", edit->GetValue());
}

TEST_F(TextEditTest, DrawsTextAndABlinkingCaretOnlyWhenFocused)
{
    auto field = Field();
    std::unique_ptr<Image> caret(Solid(2, 2, Color32(255, 0, 0, 255)));
    edit->SetFieldImages(field.get());
    edit->SetValue(L"ab");
    auto draw = [&](Image& target)
    {
        ICanvas* canvas = Graphics::CreateImageCanvas(&target);
        Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
        edit->Draw();
        Graphics::PopContext();
        Graphics::DestroyImageCanvas(canvas);
    };
    auto redColumns = [](const Image& target)
    {
        int count = 0;
        for (int x = 0; x < target.GetWidth(); ++x)
            count += target.GetPixel(x, 6).r == 255 && target.GetPixel(x, 6).g == 0;
        return count;
    };

    edit->Focus();
    Image noCaret(210, 14);
    draw(noCaret); // focused without a cursor image: no caret
    EXPECT_EQ(0, redColumns(noCaret));
    EXPECT_EQ(255, noCaret.GetPixel(4, 4).g); // the text, inside the field
    EXPECT_EQ(200, noCaret.GetPixel(1, 1).b); // the field

    edit->SetCursorImage(caret.get());
    Image shown(210, 14);
    draw(shown);
    EXPECT_EQ(2, redColumns(shown));
    edit->Update(0.6f); // the blank half of the blink
    Image blank(210, 14);
    draw(blank);
    EXPECT_EQ(0, redColumns(blank));

    mode.SetFocus(nullptr);
    edit->Update(0.6f);
    Image unfocused(210, 14);
    draw(unfocused);
    EXPECT_EQ(0, redColumns(unfocused));

    TextEditObject bare(Label("bare")); // no font, no field: reported, nothing drawn
    bare.SetValue(L"x");
    Image nothing(10, 10);
    ICanvas* canvas = Graphics::CreateImageCanvas(&nothing);
    Graphics::PushContext(Graphics::Context{canvas, Graphics::sDrawState::GetDefaults()});
    bare.Draw();
    Graphics::PopContext();
    Graphics::DestroyImageCanvas(canvas);
    EXPECT_EQ(0, nothing.GetPixel(0, 0).a);
}

TEST_F(TextEditTest, FactoryAppliesTheLimitsAndAlignment)
{
    TextEditObjectFactory factory;
    const AttributeContainer attributes(AttributeContainer::AttributeMap{{L"maxCharacters", L"4"},
                                                                         {L"maxStringWidth", L"50"},
                                                                         {L"passwordMode", L"true"},
                                                                         {L"passwordCharacter", L"#x"},
                                                                         {L"textalign", L"right"}});
    std::unique_ptr<Object> made(factory.CreateObject(Label("f"), attributes));
    auto* field = dynamic_cast<TextEditObject*>(made.get());
    ASSERT_NE(nullptr, field);
    EXPECT_EQ(4, field->GetMaxCharacterCount());
    EXPECT_EQ(50, field->GetMaxStringWidth());
    EXPECT_TRUE(field->IsPasswordMode());
    EXPECT_EQ(L'#', field->GetPasswordCharacter());
    EXPECT_EQ(2, field->GetTextAlign());

    const AttributeContainer odd(
        AttributeContainer::AttributeMap{{L"passwordCharacter", L""}, {L"textalign", L"Centre"}});
    std::unique_ptr<Object> plain(factory.CreateObject(Label("g"), odd));
    field = dynamic_cast<TextEditObject*>(plain.get());
    ASSERT_NE(nullptr, field);
    EXPECT_EQ(L'*', field->GetPasswordCharacter());
    EXPECT_EQ(0, field->GetTextAlign());
    EXPECT_EQ(-1, field->GetMaxCharacterCount());
}

} // namespace
