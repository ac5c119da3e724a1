#include "controls/PropertyEditors.h"

#include "controls/CheckBox.h"
#include "controls/ListControl.h"
#include "controls/Sprites.h"
#include "controls/TextEdit.h"
#include "core/KeyCodes.h"
#include "engine/controls/LayoutTestSupport.h"
#include "engine/graphics/ImageFixtures.h"
#include "framework/ObjectDatabase.h"
#include "graphics/FontResourceFactory.h"
#include "graphics/ImageListResourceFactory.h"
#include "graphics/ImageResourceFactory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

constexpr float kTop = std::numeric_limits<float>::max();

// The resources the editors name, made by the test factories.
const char* const kTestResources = R"(<testfont name="Verdana12"/>
<testlist name="GenericCheckbox" count="10" width="12" height="12"/>
<testlist name="GenericTextEditField" count="9" width="3" height="3"/>
<testimage name="GenericTextEditCursor" width="1" height="6"/>
<testlist name="GenericList" count="9" width="3" height="3"/>
)";

// Remembers every datum it is handed.
class RecordingOptionEditor : public OptionPropertyEditorObject
{
public:
    explicit RecordingOptionEditor(const std::wstring& name) : OptionPropertyEditorObject(name) {}
    void OnOptionSelected(int data) override { selected.push_back(data); }
    std::vector<int> selected;
};

class PropertyEditorsTest : public LayoutTest
{
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        LoadManifest(L"generic", kTestResources);
    }

    // Adds the editor at (x, y) and runs one update so its controls are in place.
    template <class T>
    T* Place(T* editor, float x = 10.0f, float y = 20.0f)
    {
        editor->SetLocation(Vector2<float>(x, y));
        mode->AddObject(editor);
        mode->Update(0.0f);
        return editor;
    }

    TextSpriteObject* LabelOf(const PropertyEditorObject& editor)
    {
        return dynamic_cast<TextSpriteObject*>(mode->GetObject(editor.GetCreatedObjects().at(0)));
    }

    void Click(float x, float y)
    {
        mode->OnMouseDown(MouseButton_Left, static_cast<int>(x), static_cast<int>(y));
        mode->OnMouseUp(MouseButton_Left, static_cast<int>(x), static_cast<int>(y));
    }
};

} // namespace

// --- the boolean editor -------------------------------------------------------------------------

TEST_F(PropertyEditorsTest, BoolEditorBuildsItsCheckBoxAtItsLocation)
{
    bool value = false;
    auto* editor = Place(new BoolPropertyEditorObject(L"Sound", [&] { return value; }));
    EXPECT_EQ(Label("Strata::PropertyEditor"), editor->GetRole());
    EXPECT_EQ(25.0f, editor->GetBounds().height);
    ASSERT_EQ(1u, editor->GetCreatedObjects().size());
    CheckBoxObject* box = editor->GetControl();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(editor->GetCreatedObjects()[0], box->GetID());
    EXPECT_TRUE(box->GetName().IsNull());
    EXPECT_EQ(kTop, box->GetLayer());
    EXPECT_EQ(10.0f, box->GetBounds().x);
    EXPECT_EQ(20.0f, box->GetBounds().y);
    EXPECT_EQ(L"Sound", box->GetText());
    EXPECT_TRUE(box->HasFocusImages()); // the ten images of "GenericCheckbox"
    EXPECT_NE(nullptr, box->GetFont());
    EXPECT_EQ(ColorF(1, 1, 1, 1), box->GetColor());
    EXPECT_EQ(1, mode->GetObjectsWithRole(Label("Strata::PropertyEditor")).size());
}

TEST_F(PropertyEditorsTest, BoolEditorFollowsTheGetterAndClicksReachTheSetter)
{
    bool value = true;
    std::vector<bool> written;
    auto* editor = Place(new BoolPropertyEditorObject(
        L"Sound", [&] { return value; }, [&](bool v) { written.push_back(v); }));
    CheckBoxObject* box = editor->GetControl();
    ASSERT_NE(nullptr, box);
    mode->Update(0.0f);
    EXPECT_TRUE(box->IsChecked());
    value = false;
    mode->Update(0.0f);
    EXPECT_FALSE(box->IsChecked());

    Click(14, 24);
    EXPECT_EQ(std::vector<bool>{true}, written);
    // The box never keeps the capture once the button is up.
    EXPECT_EQ(nullptr, mode->GetCapture());

    // Another box's click is not this editor's.
    auto* other = new CheckBoxObject(Label("other"));
    other->SetLocation(Vector2<float>(300, 300));
    mode->AddObject(other);
    other->Click();
    EXPECT_EQ(1u, written.size());
}

TEST_F(PropertyEditorsTest, BoolEditorWithoutSetterShowsTheValueAndIgnoresClicks)
{
    bool value = true;
    auto* editor = Place(new BoolPropertyEditorObject(L"Sound", [&] { return value; }));
    Click(14, 24);
    EXPECT_FALSE(editor->GetControl()->IsChecked()); // toggled by the click...
    mode->Update(0.0f);
    EXPECT_TRUE(editor->GetControl()->IsChecked()); // ...and put back from the getter
    EXPECT_TRUE(value);
}

// --- the text editors ---------------------------------------------------------------------------

TEST_F(PropertyEditorsTest, TextEditorsBuildALabelAndAFieldBesideIt)
{
    std::wstring text = L"Ann";
    float number = 1.0f;
    auto* strings = Place(new StringPropertyEditorObject(
                              L"Player", [&] { return text; }),
                          10, 20);
    auto* floats = Place(new FloatPropertyEditorObject(L"Speed", [&] { return number; }), 10, 60);
    for (PropertyEditorObject* editor :
         {static_cast<PropertyEditorObject*>(strings), static_cast<PropertyEditorObject*>(floats)})
    {
        ASSERT_EQ(2u, editor->GetCreatedObjects().size());
        TextSpriteObject* label = LabelOf(*editor);
        ASSERT_NE(nullptr, label);
        EXPECT_EQ(editor->GetBounds().x, label->GetLocation().x);
        EXPECT_EQ(editor->GetBounds().y, label->GetLocation().y);
        EXPECT_EQ(kTop, label->GetLayer());
        EXPECT_NE(nullptr, label->GetFont());
        EXPECT_EQ(25.0f, editor->GetBounds().height);
    }
    EXPECT_EQ(L"Player:", LabelOf(*strings)->GetText());
    EXPECT_EQ(L"Speed:", LabelOf(*floats)->GetText());

    TextEditObject* field = strings->GetControl();
    ASSERT_NE(nullptr, field);
    EXPECT_EQ(110.0f, field->GetBounds().x);
    EXPECT_EQ(20.0f, field->GetBounds().y);
    EXPECT_EQ(100.0f, field->GetBounds().width);
    EXPECT_EQ(kTop, field->GetLayer());
    EXPECT_TRUE(field->GetName().IsNull());
    EXPECT_NE(nullptr, field->GetFieldImages());
    EXPECT_NE(nullptr, field->GetCursorImage());
    EXPECT_EQ(60.0f, floats->GetControl()->GetBounds().y);
}

TEST_F(PropertyEditorsTest, StringEditorFlowsFromTheProgramUntilFocusedThenToIt)
{
    std::wstring value = L"Ann";
    std::vector<std::wstring> written;
    auto* editor = Place(new StringPropertyEditorObject(
        L"Player", [&] { return value; }, [&](const std::wstring& v) { written.push_back(v); }));
    TextEditObject* field = editor->GetControl();
    mode->Update(0.0f);
    EXPECT_EQ(L"Ann", field->GetValue());
    EXPECT_TRUE(written.empty());

    mode->OnMouseDown(MouseButton_Left, 120, 22);
    mode->OnMouseUp(MouseButton_Left, 120, 22);
    ASSERT_TRUE(field->HasFocus());
    EXPECT_EQ(nullptr, mode->GetCapture());
    mode->OnKeyDown(Key_End);
    mode->OnTextInput(L"e");
    mode->Update(0.0f);
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(L"Anne", written.back());
    EXPECT_EQ(L"Anne", field->GetValue()); // the getter does not overwrite what is being typed

    mode->SetFocus(nullptr);
    value = L"Bob";
    mode->Update(0.0f);
    EXPECT_EQ(L"Bob", field->GetValue());
}

TEST_F(PropertyEditorsTest, StringEditorWithoutSetterIgnoresEdits)
{
    std::wstring value = L"Ann";
    auto* editor = Place(new StringPropertyEditorObject(L"Player", [&] { return value; }));
    TextEditObject* field = editor->GetControl();
    field->Focus();
    mode->OnTextInput(L"xyz");
    mode->Update(0.0f);
    EXPECT_EQ(L"Ann", value);
    mode->SetFocus(nullptr);
    mode->Update(0.0f);
    EXPECT_EQ(L"Ann", field->GetValue());
}

TEST_F(PropertyEditorsTest, FloatEditorFormatsTheValueAndReadsTypedText)
{
    float value = 2.5f;
    auto* editor = Place(new FloatPropertyEditorObject(
        L"Speed", [&] { return value; }, [&](float v) { value = v; }));
    TextEditObject* field = editor->GetControl();
    mode->Update(0.0f);
    // Whatever the formatter writes reads back as the value.
    EXPECT_EQ(2.5f, ReadLeadingFloat(field->GetValue()));

    field->Focus();
    field->SetValue(L"-3.25");
    mode->Update(0.0f);
    EXPECT_EQ(-3.25f, value);

    // Text that is no number sets 0, every frame.
    field->SetValue(L"abc");
    mode->Update(0.0f);
    EXPECT_EQ(0.0f, value);
    value = 7.0f;
    mode->Update(0.0f);
    EXPECT_EQ(0.0f, value);
    EXPECT_EQ(L"abc", field->GetValue());
}

TEST(ReadLeadingFloatTest, ReadsTheLeadingNumberAndGivesZeroForTheRest)
{
    EXPECT_EQ(-150.0f, ReadLeadingFloat(L" \t-1.5e2xyz"));
    EXPECT_EQ(0.5f, ReadLeadingFloat(L".5"));
    EXPECT_EQ(4.0f, ReadLeadingFloat(L"+4"));
    EXPECT_EQ(12.0f, ReadLeadingFloat(L"12,5")); // the C locale: a comma ends the number
    EXPECT_EQ(0.0f, ReadLeadingFloat(L""));
    EXPECT_EQ(0.0f, ReadLeadingFloat(L"abc"));
    EXPECT_EQ(0.0f, ReadLeadingFloat(L"+-5"));
    EXPECT_EQ(0.0f, ReadLeadingFloat(L"--5"));
    // Nothing that would hand the program an infinity or a NaN.
    EXPECT_EQ(0.0f, ReadLeadingFloat(L"1e99"));
    EXPECT_EQ(0.0f, ReadLeadingFloat(L"inf"));
    EXPECT_EQ(0.0f, ReadLeadingFloat(L"nan"));
    EXPECT_EQ(1.0f, ReadLeadingFloat(std::wstring(L"1") + std::wstring(2000, L'0').insert(0, L".")));
}

// --- the option editor --------------------------------------------------------------------------

TEST_F(PropertyEditorsTest, OptionEditorReportsTheSelectedItemsDatum)
{
    auto* editor = Place(new RecordingOptionEditor(L"Level"));
    EXPECT_EQ(100.0f, editor->GetBounds().height);
    EXPECT_EQ(L"Level:", LabelOf(*editor)->GetText());
    ListObject* list = editor->GetControl();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(Rect<float>(110, 20, 120, 100), list->GetBounds());
    EXPECT_EQ(kTop, list->GetLayer());
    list->AddItem(L"Easy", 7);
    list->AddItem(L"Hard", 42);

    list->SelectItem(1);
    EXPECT_EQ(std::vector<int>{42}, editor->selected);

    // A click on the first line selects it through the mouse.
    const Rect<float> first = list->GetItemRect(0);
    Click(first.x + 1, first.y + 1);
    EXPECT_EQ((std::vector<int>{42, 7}), editor->selected);
    EXPECT_EQ(nullptr, mode->GetCapture());

    // Another list's selection is not this editor's.
    auto* other = new ListObject(Label("other"));
    mode->AddObject(other);
    other->SelectItem(0);
    EXPECT_EQ(2u, editor->selected.size());
}

// --- life cycle ---------------------------------------------------------------------------------

TEST_F(PropertyEditorsTest, RemovingAnEditorDestroysWhatItMade)
{
    float value = 1.0f;
    auto* floats = Place(new FloatPropertyEditorObject(L"Speed", [&] { return value; }));
    auto* options = Place(new RecordingOptionEditor(L"Level"), 10, 60);
    const std::vector<ObjectID> made = floats->GetCreatedObjects();
    const std::vector<ObjectID> listed = options->GetCreatedObjects();
    ASSERT_EQ(2u, made.size());

    mode->DestroyObject(floats->GetID());
    mode->Update(0.0f);
    for (const ObjectID id : made)
        EXPECT_EQ(nullptr, mode->GetObject(id));
    for (const ObjectID id : listed)
        EXPECT_NE(nullptr, mode->GetObject(id));
}

TEST_F(PropertyEditorsTest, AControlDestroyedOnItsOwnIsNoLongerTouched)
{
    bool value = true;
    auto* editor = Place(new BoolPropertyEditorObject(
        L"Sound", [&] { return value; }, [&](bool v) { value = v; }));
    auto* text = Place(new StringPropertyEditorObject(L"Player", [] { return std::wstring(L"x"); }), 10, 60);
    mode->DestroyObject(editor->GetCreatedObjects()[0]);
    mode->DestroyObject(text->GetCreatedObjects()[1]);
    mode->Update(0.0f);
    mode->Update(0.0f); // would write through freed controls
    EXPECT_EQ(nullptr, editor->GetControl());
    EXPECT_EQ(nullptr, text->GetControl());
}

TEST_F(PropertyEditorsTest, ASecondAddBuildsNoSecondSet)
{
    auto* editor = Place(new RecordingOptionEditor(L"Level"));
    editor->ReceiveMessage(ObjectMessage(GetAddMessageName()));
    EXPECT_EQ(2u, editor->GetCreatedObjects().size());
}

// --- resources ----------------------------------------------------------------------------------

TEST_F(PropertyEditorsTest, MissingResourcesLeaveControlsThatDrawNothing)
{
    manager->Unload(L"generic");
    bool flag = false;
    auto* box = Place(new BoolPropertyEditorObject(
                          L"Sound", [&] { return flag; }),
                      0, 0);
    auto* text = Place(new StringPropertyEditorObject(L"Player", [] { return std::wstring(L"x"); }), 0, 30);
    auto* options = Place(new RecordingOptionEditor(L"Level"), 0, 60);
    EXPECT_EQ(nullptr, box->GetControl()->GetImages());
    EXPECT_EQ(nullptr, text->GetControl()->GetFieldImages());
    EXPECT_EQ(nullptr, options->GetControl()->GetFont());

    CanvasScope canvas(400, 200);
    for (int frame = 0; frame < 2; ++frame)
        mode->Draw();
    EXPECT_EQ(Rect<int>(), canvas.DrawnArea());
}

// The editors' controls keep the font and the caret they found after the manifest is unloaded.
TEST_F(PropertyEditorsTest, ControlsKeepTheirResourcesAfterTheManifestIsUnloaded)
{
    auto* box = Place(new BoolPropertyEditorObject(
                          L"Sound", [] { return true; }),
                      0, 0);
    auto* text = Place(new StringPropertyEditorObject(L"Player", [] { return std::wstring(L"x"); }), 0, 30);
    auto* options = Place(new RecordingOptionEditor(L"Level"), 0, 60);
    options->GetControl()->AddItem(L"One", 1);
    text->GetControl()->Focus();
    manager->Unload(L"generic");
    ASSERT_EQ(nullptr, manager->GetResource(Label("Verdana12")));

    CanvasScope canvas(400, 200);
    for (const PropertyEditorObject* editor : std::initializer_list<const PropertyEditorObject*>{box, text, options})
        for (const ObjectID id : editor->GetCreatedObjects())
            dynamic_cast<IDrawable&>(*mode->GetObject(id)).Draw();
    EXPECT_FALSE(canvas.DrawnArea().isEmpty());
}

namespace
{

// The committed control images and the game's Verdana12 font, through the real loaders.
class GenericLooksTest : public LayoutTest
{
protected:
    void SetUp() override
    {
        LayoutTest::SetUp();
        manager->AddResourceFactory(L"image", new ImageResourceFactory());
        RegisterImageListResourceFactories();
        RegisterFontResourceFactory();
        const std::filesystem::path data = ImageFixtures::Folder() / "../../../../data";
        for (const auto& entry : std::filesystem::directory_iterator(data / "ui"))
            AddDataFile(data / "ui", entry.path().filename().string()); // by bare name, as the game finds it
        AddDataFile(data, "fonts/Verdana12.png");
        AddDataFile(data, "fonts/Verdana12.txt");
        AddManifest(L"font", "<font name=\"Verdana12\" src=\"fonts/Verdana12\"/>\n");
        ASSERT_TRUE(manager->Load(L"font")->IsComplete());
        ASSERT_TRUE(manager->Load(L"Generic")->IsComplete());
    }

    void AddDataFile(const std::filesystem::path& data, const std::string& name)
    {
        std::ifstream in(data / name, std::ios::binary);
        ASSERT_TRUE(in) << "missing data file " << name;
        files.AddFile(std::wstring(name.begin(), name.end()),
                      std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
};

} // namespace

TEST_F(GenericLooksTest, TheCommittedImagesFitTheControls)
{
    bool flag = true;
    auto* box = new BoolPropertyEditorObject(L"Sound", [&] { return flag; });
    box->SetLocation(Vector2<float>(0, 0));
    mode->AddObject(box);
    auto* text = new StringPropertyEditorObject(L"Player", [] { return std::wstring(L"Ann"); });
    text->SetLocation(Vector2<float>(0, 30));
    mode->AddObject(text);
    auto* options = new RecordingOptionEditor(L"Level");
    options->SetLocation(Vector2<float>(0, 60));
    mode->AddObject(options);
    mode->Update(0.0f);

    ASSERT_NE(nullptr, box->GetControl()->GetImages());
    EXPECT_EQ(10, box->GetControl()->GetImages()->GetNumImages());
    EXPECT_TRUE(box->GetControl()->HasFocusImages());
    ASSERT_NE(nullptr, text->GetControl()->GetFieldImages());
    EXPECT_EQ(9, text->GetControl()->GetFieldImages()->GetNumImages());
    EXPECT_NE(nullptr, text->GetControl()->GetCursorImage());
    ListObject* list = options->GetControl();
    ASSERT_NE(nullptr, list->GetImages());
    EXPECT_EQ(9, list->GetImages()->GetNumImages());
    list->AddItem(L"Easy", 1);
    list->AddItem(L"Hard", 2);
    EXPECT_GT(list->GetVisibleItemCount(), 1);

    CanvasScope canvas(300, 170);
    mode->Draw();
    const Rect<int> drawn = canvas.DrawnArea();
    EXPECT_LE(drawn.x, 1); // the box's image has a clear margin
    EXPECT_LE(drawn.y, 1);
    EXPECT_GE(drawn.x + drawn.width, 220); // the list's right edge
    EXPECT_GE(drawn.y + drawn.height, 160);
}
