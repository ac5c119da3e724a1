#include "scene/ButtonNode.h"

#include "core/Log.h"

#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

class ButtonNodeTest : public WidgetTest
{
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        ASSERT_EQ("",
                  Load(L"Art", Frames("Four", 4, "w=\"20\" h=\"10\"") + Frames("Five", 5, "w=\"20\" h=\"10\"") +
                                   Frames("Twelve", 12, "w=\"4\" h=\"8\"") + Frames("Fifteen", 15, "w=\"4\" h=\"8\"") +
                                   Frames("Fade", 1, "w=\"40\" h=\"4\" alphaStep=\"1\"") +
                                   "<testfont name=\"Mono\"/><string name=\"Hello\" value=\"Hi\"/>\n"));
    }

    // A button named "ok" at the origin, with the sound list "Clicks".
    ButtonNode* MakeButton(const std::string& attributes)
    {
        ButtonNode* button = Make<ButtonNode>("<buttonnode name=\"ok\" sounds=\"Clicks\" " + attributes + "/>");
        if (button != nullptr)
            button->clickSignal.connect([](ButtonNode*) { WidgetEvents().push_back("signal"); });
        return button;
    }

    // Each case gets a fresh button at the origin: the one before lets the capture go and is hidden.
    void Retire(ButtonNode* button)
    {
        mode->OnMouseUp(MouseButton_Left, 60, 60);
        button->LocalSetVisible(false);
        WidgetEvents().clear();
    }
};

// The frame a state shows, read from the red of the drawn pixels (image i has red FrameRed(i)).
TEST_F(ButtonNodeTest, EachStateDrawsItsFrame)
{
    struct Case
    {
        const char* images;
        std::string state;
        int first; // of the three slices in a strip
    };
    const Case cases[] = {{"Four", "normal", 0},      {"Four", "hot", 1},         {"Four", "pressed", 2},
                          {"Four", "dragged off", 0}, {"Four", "disabled", 3},    {"Four", "focused", 1},
                          {"Five", "focused", 4},     {"Fifteen", "focused", 12}, {"Twelve", "focused", 3},
                          {"Fifteen", "pressed", 6}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.images) + " " + c.state);
        ButtonNode* button = MakeButton(std::string("images=\"") + c.images + "\" width=\"20\"");
        ASSERT_NE(nullptr, button);
        if (c.state == "disabled")
            button->Enable(false);
        if (c.state == "hot" || c.state == "pressed" || c.state == "dragged off")
            mode->OnMouseMove(2, 2);
        if (c.state == "pressed" || c.state == "dragged off")
            mode->OnMouseDown(MouseButton_Left, 2, 2);
        if (c.state == "dragged off")
            mode->OnMouseMove(30, 30);
        if (c.state == "focused")
            mode->SetFocusedNode(button);

        Target target(40, 20);
        button->DrawNode();
        EXPECT_EQ(FrameRed(c.first), target.At(1, 1).r);
        if (std::string(c.images).size() > 4) // a strip: the right cap is two images on
            EXPECT_EQ(FrameRed(c.first + 2), target.At(18, 1).r);
        Retire(button);
    }
}

// Mouse sequences over a 20 x 10 button at the origin: what was heard, and whether the capture is
// left behind.
TEST_F(ButtonNodeTest, SequencesClickOnlyOnAReleaseOverTheCapturingButton)
{
    struct Case
    {
        const char* name;
        const char* steps; // d/u: down/up inside, D/U: outside, m/M: move inside/outside, x: disable
        const char* events;
    };
    const Case cases[] = {
        {"press and release", "du", "sound:Clicks:Down ButtonClick:ok signal sound:Clicks:Release"},
        {"hover first", "mdu", "sound:Clicks:Hot sound:Clicks:Down ButtonClick:ok signal sound:Clicks:Release"},
        {"dragged off", "dMU", "sound:Clicks:Down"},
        {"dragged off and back", "dMmu",
         "sound:Clicks:Down sound:Clicks:Hot ButtonClick:ok signal sound:Clicks:Release"},
        {"pressed elsewhere", "Du", ""},
        {"disabled", "xdu", ""},
        {"disabled while pressed", "dxu", "sound:Clicks:Down"},
        {"disabled while pressed, released outside", "dxMU", "sound:Clicks:Down"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ButtonNode* button = MakeButton("images=\"Five\"");
        ASSERT_NE(nullptr, button);
        for (const char* step = c.steps; *step != '\0'; ++step)
        {
            const int at = std::islower(static_cast<unsigned char>(*step)) ? 5 : 50;
            if (*step == 'x')
                button->Enable(false);
            else if (*step == 'd' || *step == 'D')
                mode->OnMouseDown(MouseButton_Left, at, at);
            else if (*step == 'u' || *step == 'U')
                mode->OnMouseUp(MouseButton_Left, at, at);
            else
                mode->OnMouseMove(at, at);
        }
        EXPECT_EQ(c.events, Events());
        EXPECT_EQ(nullptr, mode->GetMouseCapturingNode());
        EXPECT_FALSE(button->HasCapture());
        Retire(button);
    }
}

TEST_F(ButtonNodeTest, ActivationKeysNeedTheFocusTheOwnKeyDoesNot)
{
    struct Case
    {
        const char* keyCode; // attribute, or null
        bool focused;
        bool enabled;
        int key;
        bool clicks;
    };
    const Case cases[] = {{"a", false, true, 65, true},      {"a", false, false, 65, true},
                          {"Escape", false, true, 27, true}, {"ab", false, true, 0, false},
                          {nullptr, true, true, 0, false},   {nullptr, true, true, 13, true},
                          {nullptr, true, true, 32, true},   {nullptr, true, false, 258, true},
                          {nullptr, false, true, 13, false}, {"a", true, true, 66, false}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.keyCode ? c.keyCode : "-") + " key " + std::to_string(c.key));
        ButtonNode* button = MakeButton(c.keyCode ? std::string("keyCode=\"") + c.keyCode + "\"" : std::string());
        ASSERT_NE(nullptr, button);
        button->Enable(c.enabled);
        if (c.focused)
            mode->SetFocusedNode(button);
        EXPECT_EQ(c.clicks ? MessageResult_Handled : MessageResult_Unhandled, button->OnKeyDown(c.key));
        EXPECT_EQ(c.clicks ? "ButtonClick:ok signal" : "", Events());
        Retire(button);
    }
}

TEST_F(ButtonNodeTest, SizeAndTextFollowImagesFontAndTextResource)
{
    struct Case
    {
        const char* attributes;
        const char* size;
        const wchar_t* text;
    } cases[] = {
        {"", "0x0", L""},
        {"font=\"Mono\" text=\"Hi!\"", "18x10", L"Hi!"},
        {"font=\"Mono\" text=\"Hi!\" images=\"Five\"", "20x10", L"Hi!"},
        {"images=\"Fifteen\" width=\"50\"", "50x8", L""},
        {"font=\"Mono\" text=\"x\" textResource=\"Hello\"", "12x10", L"Hi"},
        {"text=\"x\" textResource=\"Nope\"", "0x0", L"Missing: \"Nope\""},
        {"images=\"Ghost\" font=\"Mono\" text=\"ab\"", "12x10", L"ab"},
    };
    for (const Case& c : cases)
    {
        ButtonNode* button = MakeButton(c.attributes);
        ASSERT_NE(nullptr, button) << c.attributes;
        EXPECT_EQ(c.size, std::to_string(static_cast<int>(button->GetWidth())) + "x" +
                              std::to_string(static_cast<int>(button->GetHeight())))
            << c.attributes;
        EXPECT_EQ(c.text, button->GetText()) << c.attributes;
    }
}

TEST_F(ButtonNodeTest, AMissingImageListIsReportedOnceAndDrawsNothing)
{
    ::testing::internal::CaptureStderr();
    ButtonNode* first = MakeButton("images=\"Lost\"");
    ButtonNode* second = MakeButton("images=\"Lost\"");
    const std::string log = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ("ButtonNode: image list \"Lost\" not found\n", LinesWith(log, "Lost"));
    Target target(20, 20);
    second->SetWidth(10);
    second->SetHeight(10);
    second->DrawNode();
    EXPECT_TRUE(target.Drawn().isEmpty());
}

TEST_F(ButtonNodeTest, HitTestNeedsAlphaAboveTheSensitivityOnTheNormalFrame)
{
    ButtonNode* button = MakeButton("images=\"Fade\"");
    ButtonNode* bounds = MakeButton("images=\"Fade\" alphaSensitivity=\"0\"");
    ASSERT_NE(nullptr, button);
    ASSERT_NE(nullptr, bounds);
    button->Enable(false); // shows frame 3, which the list lacks: the test still uses frame 0
    EXPECT_FALSE(button->GlobalPointIntersects(Vector2<float>(25.9f, 1.0f)));
    EXPECT_TRUE(button->GlobalPointIntersects(Vector2<float>(26.0f, 1.0f)));
    EXPECT_FALSE(button->GlobalPointIntersects(Vector2<float>(40.0f, 1.0f)));
    EXPECT_TRUE(bounds->GlobalPointIntersects(Vector2<float>(0.0f, 1.0f)));
}

TEST_F(ButtonNodeTest, TheLabelIsCentredInTheLayoutsColour)
{
    ButtonNode* button = MakeButton("images=\"Four\" font=\"Mono\" text=\"A\" color=\"#FF0000\"");
    ASSERT_NE(nullptr, button);
    button->LocalSetLocation(10.0f, 0.0f);
    Target target(40, 20);
    button->DrawNode();
    // A 6 x 10 glyph centred on (20, 5): columns 17 to 22.
    const Color32 glyph = target.At(20, 5);
    EXPECT_EQ(255, glyph.r);
    EXPECT_EQ(0, glyph.g);
    EXPECT_EQ(FrameRed(0), target.At(11, 5).r);
    EXPECT_NE(0, target.At(11, 5).a);
    EXPECT_EQ(FrameRed(0), target.At(23, 5).r);
}

} // namespace
