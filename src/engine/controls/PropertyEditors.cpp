#include "controls/PropertyEditors.h"

#include "controls/CheckBox.h"
#include "controls/ListControl.h"
#include "controls/Sprites.h"
#include "controls/TextEdit.h"
#include "core/Log.h"
#include "core/StringFormatter.h"
#include "framework/ObjectDatabase.h"
#include "framework/ResourceDescriptor.h"
#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/ImageList.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

namespace Strata
{

namespace
{

// Editors draw over everything else on the screen.
constexpr float kEditorLayer = std::numeric_limits<float>::max();
constexpr float kControlOffset = 100.0f;
constexpr float kTextEditWidth = 100.0f;
constexpr float kListWidth = 120.0f;
constexpr float kListHeight = 100.0f;
const ColorF kWhite(1.0f, 1.0f, 1.0f, 1.0f);

// A shared resource and its descriptor, which the control that uses it holds so that unloading the
// manifest cannot free the resource under the control.
template <class T>
struct FoundResource
{
    const T* resource = nullptr;
    std::shared_ptr<IResourceDescriptor> holder;
};

// The shared resources, found by name. A missing one is logged once per name for the program's life;
// the control then goes without it and draws nothing of it.
// `Tag` gives each name its own flag, so each missing name gets its own line.
template <int Tag, class T>
FoundResource<T> FindNamedResource(const char* name)
{
    const AutoResource<T> resource(name);
    if (!resource.Get())
    {
        static bool reported = false;
        if (!reported)
        {
            reported = true;
            Internal::LogWrite("Property editor resource %s is missing.\n", name);
        }
        return {};
    }
    return {resource.Get(), resource.GetDescriptor()};
}

template <int Tag>
ImageListHandle FindNamedImageList(const char* name)
{
    FoundResource<IImageList> list = FindNamedResource<Tag, IImageList>(name);
    return ImageListHandle(list.resource, std::move(list.holder));
}

FoundResource<Font> FindFont()
{
    return FindNamedResource<0, Font>("Verdana12");
}

// The control, made with `font`, now also holding it.
template <class T>
std::unique_ptr<T> HoldingFont(std::unique_ptr<T> control, const FoundResource<Font>& font)
{
    control->SetFont(font.resource, font.holder);
    return control;
}

Label GetCheckBoxClickName()
{
    static const Label name("CheckBoxClick");
    return name;
}

Label GetListSelectionChangeName()
{
    static const Label name("ListSelectionChange");
    return name;
}

} // namespace

// --- base -----------------------------------------------------------------------------------------

PropertyEditorObject::~PropertyEditorObject() = default;

Label PropertyEditorObject::GetRole() const
{
    static const Label role("Strata::PropertyEditor");
    return role;
}

void PropertyEditorObject::ReceiveMessage(const ObjectMessage& message)
{
    if (message.GetName() != GetRemoveMessageName())
        return;
    if (ObjectDatabase* database = GetObjectDatabase())
        for (const ObjectID id : mCreated)
            database->DestroyObject(id);
    mCreated.clear();
}

ObjectID PropertyEditorObject::AddObject(Object* object)
{
    std::unique_ptr<Object> owned(object);
    ObjectDatabase* database = GetObjectDatabase();
    if (!owned || !database)
        return kInvalidObjectID;
    const ObjectID id = database->AddObject(owned.get());
    owned.release();
    mCreated.push_back(id);
    return id;
}

bool PropertyEditorObject::ShouldBuild(const ObjectMessage& message) const
{
    return message.GetName() == GetAddMessageName() && mCreated.empty();
}

Object* PropertyEditorObject::FindCreatedObject(ObjectID id) const
{
    const ObjectDatabase* database = GetObjectDatabase();
    return database ? database->GetObject(id) : nullptr;
}

void PropertyEditorObject::AddNameLabel(const std::wstring& name)
{
    const std::wstring text = name + L":";
    const FoundResource<Font> font = FindFont();
    AddObject(HoldingFont(std::make_unique<TextSpriteObject>(kEditorLayer, Vector2<float>(mBounds.x, mBounds.y),
                                                             text.c_str(), font.resource, kWhite, 0.0f),
                          font)
                  .release());
}

// --- bool -----------------------------------------------------------------------------------------

BoolPropertyEditorObject::BoolPropertyEditorObject(const std::wstring& name, std::function<bool()> getter,
                                                   std::function<void(bool)> setter)
    : mPropertyName(name), mGetter(std::move(getter)), mSetter(std::move(setter))
{
}

CheckBoxObject* BoolPropertyEditorObject::GetControl() const
{
    return FindCreated<CheckBoxObject>(mControl);
}

void BoolPropertyEditorObject::ReceiveMessage(const ObjectMessage& message)
{
    PropertyEditorObject::ReceiveMessage(message);
    if (ShouldBuild(message))
    {
        ImageListHandle images = FindNamedImageList<1>("GenericCheckbox");
        const FoundResource<Font> font = FindFont();
        mControl = AddObject(
            HoldingFont(std::make_unique<CheckBoxObject>(Label(), kEditorLayer, Vector2<float>(mBounds.x, mBounds.y),
                                                         images, 0.0f, mPropertyName, font.resource, kWhite),
                        font)
                .release());
        SetHeight(kHeight);
        return;
    }
    if (message.GetName() == GetCheckBoxClickName() && !mControl.IsInvalid() && message.GetSender() == mControl &&
        mSetter)
    {
        if (CheckBoxObject* box = GetControl())
            mSetter(box->IsChecked());
    }
}

void BoolPropertyEditorObject::Update(float)
{
    CheckBoxObject* box = GetControl();
    if (box && mGetter)
        box->SetChecked(mGetter());
}

// --- text fields ----------------------------------------------------------------------------------

TextFieldPropertyEditorObject::TextFieldPropertyEditorObject(const std::wstring& name) : mPropertyName(name)
{
}

TextEditObject* TextFieldPropertyEditorObject::GetControl() const
{
    return FindCreated<TextEditObject>(mControl);
}

void TextFieldPropertyEditorObject::ReceiveMessage(const ObjectMessage& message)
{
    PropertyEditorObject::ReceiveMessage(message);
    if (ShouldBuild(message))
    {
        AddNameLabel(mPropertyName);
        ImageListHandle field = FindNamedImageList<2>("GenericTextEditField");
        FoundResource<Image> cursor = FindNamedResource<3, Image>("GenericTextEditCursor");
        const FoundResource<Font> font = FindFont();
        auto edit = HoldingFont(
            std::make_unique<TextEditObject>(Label(), 0.0f, Vector2<float>(mBounds.x + kControlOffset, mBounds.y),
                                             field, cursor.resource, kTextEditWidth, font.resource, kWhite),
            font);
        edit->SetCursorImage(cursor.resource, std::move(cursor.holder));
        edit->SetLayer(kEditorLayer);
        mControl = AddObject(edit.release());
        SetHeight(kHeight);
    }
}

void TextFieldPropertyEditorObject::Update(float)
{
    TextEditObject* edit = GetControl();
    if (!edit)
        return;
    if (edit->HasFocus())
    {
        SetValueText(edit->GetValue());
        return;
    }
    std::wstring text;
    if (GetValueText(&text))
        edit->SetValue(text);
}

StringPropertyEditorObject::StringPropertyEditorObject(const std::wstring& name, std::function<std::wstring()> getter,
                                                       std::function<void(const std::wstring&)> setter)
    : TextFieldPropertyEditorObject(name), mGetter(std::move(getter)), mSetter(std::move(setter))
{
}

bool StringPropertyEditorObject::GetValueText(std::wstring* text) const
{
    if (!mGetter)
        return false;
    *text = mGetter();
    return true;
}

void StringPropertyEditorObject::SetValueText(const std::wstring& text)
{
    if (mSetter)
        mSetter(text);
}

FloatPropertyEditorObject::FloatPropertyEditorObject(const std::wstring& name, std::function<float()> getter,
                                                     std::function<void(float)> setter)
    : TextFieldPropertyEditorObject(name), mGetter(std::move(getter)), mSetter(std::move(setter))
{
}

bool FloatPropertyEditorObject::GetValueText(std::wstring* text) const
{
    if (!mGetter)
        return false;
    StringFormatter formatter(L"%1%");
    formatter.Arg(mGetter());
    *text = formatter.c_str();
    return true;
}

void FloatPropertyEditorObject::SetValueText(const std::wstring& text)
{
    if (mSetter)
        mSetter(ReadLeadingFloat(text));
}

// --- options --------------------------------------------------------------------------------------

OptionPropertyEditorObject::OptionPropertyEditorObject(const std::wstring& name) : mPropertyName(name)
{
}

ListObject* OptionPropertyEditorObject::GetControl() const
{
    return FindCreated<ListObject>(mControl);
}

void OptionPropertyEditorObject::ReceiveMessage(const ObjectMessage& message)
{
    PropertyEditorObject::ReceiveMessage(message);
    if (ShouldBuild(message))
    {
        AddNameLabel(mPropertyName);
        const Vector2<float> at = Vector2<float>(mBounds.x, mBounds.y);
        ImageListHandle images = FindNamedImageList<4>("GenericList");
        const FoundResource<Font> font = FindFont();
        mControl = AddObject(
            HoldingFont(std::make_unique<ListObject>(Label(), kEditorLayer, Vector2<float>(at.x + kControlOffset, at.y),
                                                     images, kListWidth, kListHeight, font.resource, kWhite),
                        font)
                .release());
        SetHeight(kHeight);
        return;
    }
    if (message.GetName() == GetListSelectionChangeName() && !mControl.IsInvalid() && message.GetSender() == mControl)
    {
        if (ListObject* list = GetControl())
            OnOptionSelected(static_cast<int>(list->GetItemData(list->GetSelectedItem())));
    }
}

// --- numbers --------------------------------------------------------------------------------------

float ReadLeadingFloat(const std::wstring& text)
{
    size_t start = 0;
    while (start < text.size() && (text[start] == L' ' || (text[start] >= L'\t' && text[start] <= L'\r')))
        ++start;
    // Only the characters a decimal number can hold; the rest ends it.
    std::string number;
    for (size_t i = start; i < text.size() && number.size() < 512; ++i)
    {
        const wchar_t c = text[i];
        if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'+' || c == L'-' || c == L'e' || c == L'E'))
            break;
        number.push_back(static_cast<char>(c));
    }
    // from_chars takes no leading plus.
    size_t first = 0;
    if (!number.empty() && number[0] == '+')
    {
        first = 1;
        if (number.size() > 1 && number[1] == '-')
            return 0.0f;
    }
    float value = 0.0f;
    const auto result =
        std::from_chars(number.data() + first, number.data() + number.size(), value, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0f;
    return value;
}

} // namespace Strata
