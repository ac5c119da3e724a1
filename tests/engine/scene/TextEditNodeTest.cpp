#include "scene/TextEditNode.h"

#include "SceneWidgetTestSupport.h"
#include "support/KerningEditCases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

// The test font is 6 pixels a character and 10 high; "Kerned" is the same with the pairs "AV" and "VA"
// narrower. Frames: nine 3 x 4 slices, and nine slices whose middle row has no height.
constexpr char kFieldResources[] = R"(
<testfont name="Mono"/>
<kernedtestfont name="Kerned"/>
<testimage name="Caret" w="2" h="2" r="250" g="250" b="250"/>
<testimagelist name="Frame">
  <frame w="3" h="4"/><frame w="3" h="4"/><frame w="3" h="4"/>
  <frame w="3" h="4"/><frame w="3" h="4"/><frame w="3" h="4"/>
  <frame w="3" h="4"/><frame w="3" h="4"/><frame w="3" h="4"/>
</testimagelist>
<testimagelist name="FlatFrame">
  <frame w="3" h="4"/><frame w="3" h="4"/><frame w="3" h="4"/>
  <frame w="3" h="0"/><frame w="3" h="0"/><frame w="3" h="0"/>
  <frame w="3" h="4"/><frame w="3" h="4"/><frame w="3" h="4"/>
</testimagelist>
)";

constexpr int kBackspace = 8;
constexpr int kDelete = 46;
constexpr int kHome = 36;
constexpr int kEnd = 35;
constexpr int kLeft = 37;
constexpr int kRight = 39;

const std::string kChange = "TextEditChange from Field";

class TextEditTest : public SceneWidgetTest
{
protected:
    void SetUp() override
    {
        SceneWidgetTest::SetUp();
        ASSERT_EQ("", Load(L"Fields", kFieldResources));
    }

    // A field named "Field" with a test font, clicked so it has the focus.
    TextEditNode* Focused(const std::string& attributes, const std::string& font = "Mono")
    {
        auto* field = Place<TextEditNode>(R"(<texteditnode name="Field" cursorImage="Caret" font=")" + font + "\" " +
                                          attributes + "/>");
        if (field != nullptr)
        {
            const Rect<float>& bounds = field->GlobalGetBounds();
            Press(static_cast<int>(bounds.x) + 1, static_cast<int>(bounds.y) + 1);
            Release(static_cast<int>(bounds.x) + 1, static_cast<int>(bounds.y) + 1);
        }
        TakeMessages();
        return field;
    }
};

} // namespace

TEST_F(TextEditTest, TypingRespectsTheCharacterAndWidthLimits)
{
    struct Case
    {
        const char* attributes;
        const wchar_t* typed;
        const wchar_t* value;
    };
    const Case cases[] = {
        {R"(width="200")", L"hello world", L"hello world"},
        {R"(width="200" maxCharacters="5")", L"abcdef", L"abcde"},
        // 20 pixels hold three 6-pixel characters.
        {R"(width="200" maxStringWidth="20")", L"abcdef", L"abc"},
        {R"(width="200" maxCharacters="0")", L"abc", L""},
        // Control characters are skipped, the rest inserted in order.
        {R"(width="200")", L"a\tb\nc\x7f", L"abc\x7f"},
    };
    for (const Case& c : cases)
    {
        TextEditNode* field = Focused(c.attributes);
        ASSERT_NE(nullptr, field);
        EXPECT_EQ(MessageResult_Handled, scene->OnTextInput(c.typed)) << c.attributes;
        EXPECT_TRUE(field->GetValue() == c.value) << c.attributes;
        // One message per character taken, none for those refused.
        EXPECT_EQ(std::vector<std::string>(std::wstring(c.value).size(), kChange), TakeMessages()) << c.attributes;
        field->LocalSetVisible(false);
    }
}

TEST_F(TextEditTest, NewLimitsCutTheTextAtOnceWithoutAMessage)
{
    TextEditNode* field = Focused(R"(width="200")");
    ASSERT_NE(nullptr, field);
    field->SetValue(L"abcdefgh");
    field->SetMaxCharacterCount(6);
    EXPECT_TRUE(field->GetValue() == L"abcdef");
    field->SetMaxStringWidth(26);
    EXPECT_TRUE(field->GetValue() == L"abcd");
    field->SetMaxCharacterCount(-7);
    field->SetValue(L"abcdefgh");
    EXPECT_TRUE(field->GetValue() == L"abcd");
    EXPECT_TRUE(TakeMessages().empty());

    // In password mode the width is measured on the password characters (all 6 pixels here too).
    field->SetMaxStringWidth(-1);
    field->SetPasswordMode(true);
    field->SetPasswordCharacter(L'#');
    field->SetValue(L"secret");
    EXPECT_EQ(36.0f, field->GetTextWidth(field->GetValue()));
    field->OnKeyDown(kEnd);
    EXPECT_EQ(36.0f, field->GetCaretLocation().x);
}

TEST_F(TextEditTest, EditingKeysMoveTheCaretAndDeleteAroundIt)
{
    struct Step
    {
        int key;
        MessageResult result;
        const wchar_t* value;
        uint32_t caret;
        size_t messages;
    };
    const Step steps[] = {
        {kLeft, MessageResult_Handled, L"abcd", 3, 0},
        {kBackspace, MessageResult_Handled, L"abd", 2, 1},
        {kDelete, MessageResult_Handled, L"ab", 2, 1},
        {kDelete, MessageResult_Handled, L"ab", 2, 0},
        {kHome, MessageResult_Handled, L"ab", 0, 0},
        {kLeft, MessageResult_Handled, L"ab", 0, 0},
        {kBackspace, MessageResult_Handled, L"ab", 0, 0},
        {kEnd, MessageResult_Handled, L"ab", 2, 0},
        {kRight, MessageResult_Handled, L"ab", 2, 0},
        {65, MessageResult_Handled, L"ab", 2, 0},
        // Keys that belong to other handlers.
        {13, MessageResult_Unhandled, L"ab", 2, 0},
        {9, MessageResult_Unhandled, L"ab", 2, 0},
        {27, MessageResult_Unhandled, L"ab", 2, 0},
        {512, MessageResult_Unhandled, L"ab", 2, 0},
        {513, MessageResult_Unhandled, L"ab", 2, 0},
    };
    TextEditNode* field = Focused(R"(width="200")");
    ASSERT_NE(nullptr, field);
    scene->OnTextInput(L"abcd");
    TakeMessages();
    for (const Step& step : steps)
    {
        EXPECT_EQ(step.result, field->OnKeyDown(step.key)) << step.key;
        EXPECT_TRUE(field->GetValue() == step.value) << step.key;
        EXPECT_EQ(step.caret, field->GetCaretIndex()) << step.key;
        EXPECT_EQ(step.messages, TakeMessages().size()) << step.key;
    }
}

TEST_F(TextEditTest, TheTextScrollsToKeepTheCaretInTheBox)
{
    // A 30-pixel box without a frame: five characters fit.
    TextEditNode* field = Focused(R"(width="30")");
    ASSERT_NE(nullptr, field);
    scene->OnTextInput(L"abcdefgh");
    EXPECT_EQ(48.0f, field->GetCaretLocation().x);
    EXPECT_EQ(-18.0f, field->GetScrollOffset());
    field->OnKeyDown(kLeft);
    EXPECT_EQ(-18.0f, field->GetScrollOffset());
    field->OnKeyDown(kHome);
    EXPECT_EQ(0.0f, field->GetScrollOffset());
    field->OnKeyDown(kEnd);
    EXPECT_EQ(-18.0f, field->GetScrollOffset());

    // Centred and empty, the caret sits in the middle of the box.
    TextEditNode* centred = Focused(R"(width="40" textalign="center" fieldImages="Frame")");
    ASSERT_NE(nullptr, centred);
    EXPECT_EQ(3.0f + 17.0f, centred->GetCaretLocation().x);
}

TEST_F(TextEditTest, TheBoxHeightHoldsAGlyphInWholeFrameSlices)
{
    struct Case
    {
        const char* attributes;
        float boxHeight;
        float height;
    };
    const Case cases[] = {
        // Slices 4 high: three of them hold a 10-pixel glyph; plus the top and bottom rows.
        {R"(fieldImages="Frame" font="Mono")", 12.0f, 20.0f},
        // A middle row with no height can never be stacked up to the glyph: the glyph height serves.
        {R"(fieldImages="FlatFrame" font="Mono")", 10.0f, 18.0f},
        // Without a frame the field is one line high, so it can still be clicked.
        {R"(font="Mono")", 10.0f, 10.0f},
        {R"(fieldImages="Frame")", 0.0f, 8.0f},
    };
    for (const Case& c : cases)
    {
        auto* field = Place<TextEditNode>(std::string("<texteditnode width=\"50\" ") + c.attributes + "/>");
        ASSERT_NE(nullptr, field);
        EXPECT_EQ(c.boxHeight, field->GetTextBoxHeight()) << c.attributes;
        EXPECT_EQ(c.height, field->GetHeight()) << c.attributes;
    }
}

TEST_F(TextEditTest, OnlyAFocusedVisibleFieldTakesInputAndADisabledOneHidesItsCaret)
{
    auto* idle = Place<TextEditNode>(R"(<texteditnode name="Idle" font="Mono" width="50" y="100"/>)");
    ASSERT_NE(nullptr, idle);
    EXPECT_EQ(MessageResult_Unhandled, idle->OnTextInput(L"x"));
    EXPECT_EQ(MessageResult_Unhandled, idle->OnKeyDown(kBackspace));

    TextEditNode* field = Focused(R"(width="50" fieldImages="Frame")");
    ASSERT_NE(nullptr, field);
    EXPECT_EQ(field, scene->GetFocusedNode());
    const auto caretShown = [field]
    {
        Target target(64, 32);
        field->DrawScene();
        // The caret at the text's start, white over the frame's dark red.
        return target.At(3, 8).g == 250;
    };
    EXPECT_TRUE(caretShown());

    // A disabled field still takes the focus and edits; its caret is hidden.
    field->Enable(false);
    EXPECT_FALSE(caretShown());
    EXPECT_EQ(MessageResult_Handled, scene->OnTextInput(L"ok"));
    EXPECT_TRUE(field->GetValue() == L"ok");

    // Hidden through its parent, it neither draws nor takes keys or text.
    auto* parent = new SceneNode();
    parent->AddToDatabase(scene.get());
    scene->GetRootNode()->AttachChild(parent);
    parent->AttachChild(field);
    parent->LocalSetVisible(false);
    EXPECT_EQ(MessageResult_Unhandled, field->OnTextInput(L"x"));
    EXPECT_EQ(MessageResult_Unhandled, field->OnKeyDown(kBackspace));
    Target target(64, 32);
    field->DrawScene();
    EXPECT_TRUE(target.Drawn().isEmpty());
    EXPECT_TRUE(field->GetValue() == L"ok");
}

TEST_F(TextEditTest, ThePasswordCharacterAndAlignmentComeFromTheLayout)
{
    auto* field = Place<TextEditNode>(
        R"(<texteditnode font="Mono" width="60" passwordMode="true" passwordCharacter="&#x2022;x" textalign="right" maxCharacters="3"/>)");
    auto* plain = Place<TextEditNode>(R"(<texteditnode font="Mono" passwordCharacter="" textalign="Right"/>)");
    ASSERT_TRUE(field && plain);
    EXPECT_EQ(L'\x2022', field->GetPasswordCharacter());
    EXPECT_TRUE(field->GetPasswordMode());
    EXPECT_EQ(HAlignment_Right, field->GetTextAlign());
    EXPECT_EQ(3, field->GetMaxCharacterCount());
    EXPECT_EQ(-1, field->GetMaxStringWidth());
    // Right-aligned and empty: the caret at the right edge of the box.
    EXPECT_EQ(60.0f, field->GetCaretLocation().x);
    EXPECT_EQ(L'*', plain->GetPasswordCharacter());
    EXPECT_EQ(HAlignment_Left, plain->GetTextAlign());
}

TEST_F(TextEditTest, KerningPairsCountInWidthsCaretsAndScrolling)
{
    for (const sKerningEditCase& c : kKerningEditCases)
    {
        std::string attributes = "width=\"" + std::to_string(static_cast<int>(c.boxWidth)) + "\"";
        if (c.maxStringWidth >= 0)
            attributes += " maxStringWidth=\"" + std::to_string(c.maxStringWidth) + "\"";
        if (c.align == HAlignment_Right)
            attributes += " textalign=\"right\"";
        TextEditNode* field = Focused(attributes, "Kerned");
        ASSERT_NE(nullptr, field);
        scene->OnTextInput(c.typed);
        if (c.key != 0)
            field->OnKeyDown(c.key);
        scene->OnTextInput(c.typedAfter);
        EXPECT_TRUE(field->GetValue() == c.value) << attributes;
        EXPECT_EQ(c.caret, field->GetCaretLocation().x) << attributes;
        EXPECT_EQ(c.scroll, field->GetScrollOffset()) << attributes;
        field->LocalSetVisible(false);
    }

    // The password characters are measured, not the pairs they hide.
    TextEditNode* hidden = Focused(R"(width="200" passwordMode="true" passwordCharacter="*")", "Kerned");
    ASSERT_NE(nullptr, hidden);
    scene->OnTextInput(L"AV");
    EXPECT_TRUE(hidden->GetValue() == L"AV");
    EXPECT_EQ(12.0f, hidden->GetCaretLocation().x);
    EXPECT_EQ(0.0f, hidden->GetScrollOffset());
    hidden->LocalSetVisible(false);

    // A new limit keeps the longest prefix whose last letter is measured alone: "AVA" is 15 wide.
    TextEditNode* field = Focused(R"(width="200")", "Kerned");
    ASSERT_NE(nullptr, field);
    field->SetValue(L"AVAV");
    field->SetMaxStringWidth(14);
    EXPECT_TRUE(field->GetValue() == L"AV");
    EXPECT_EQ(10.0f, field->GetTextWidth(field->GetValue()));
}
