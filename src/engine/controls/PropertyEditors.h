#pragma once

#include "controls/ObjectComponents.h"
#include "core/Label.h"
#include "framework/Object.h"

#include <functional>
#include <string>
#include <vector>

namespace Strata
{

class CheckBoxObject;
class ListObject;
class TextEditObject;

// A debugging aid that shows one named value of the program as an editable control and keeps the two in
// step. An editor builds its controls at its own location when a database adds it and destroys them when
// it is removed. Main thread only.
class PropertyEditorObject : public Object, public BoundsComponent
{
public:
    PropertyEditorObject() = default;
    ~PropertyEditorObject() override;

    // "Strata::PropertyEditor".
    Label GetRole() const override;
    using Object::GetRole;
    // On "Remove" for this editor, destroys every object it made. Derived editors call it first.
    void ReceiveMessage(const ObjectMessage& message) override;

    const std::vector<ObjectID>& GetCreatedObjects() const { return mCreated; }

protected:
    // Adds the object to the current database and records its identifier. Without a database the
    // object is deleted and the invalid identifier returned; what AddObject throws passes through
    // after the object is deleted.
    ObjectID AddObject(Object* object);
    // The object this editor made under `id` when it is still alive in the current database, else null.
    template <class T>
    T* FindCreated(ObjectID id) const
    {
        return dynamic_cast<T*>(FindCreatedObject(id));
    }
    // True for "Add" while no controls exist yet: a second "Add" never builds a second set.
    bool ShouldBuild(const ObjectMessage& message) const;
    // The "name:" label every text and list editor shows at its location.
    void AddNameLabel(const std::wstring& name);

private:
    Object* FindCreatedObject(ObjectID id) const;

    std::vector<ObjectID> mCreated;
};

// A boolean shown as a check box labelled with the property's name. The getter sets the box every frame;
// a click calls the setter (when there is one) with the box's new state.
class BoolPropertyEditorObject : public PropertyEditorObject
{
public:
    static constexpr float kHeight = 25.0f;

    BoolPropertyEditorObject(const std::wstring& name, std::function<bool()> getter,
                             std::function<void(bool)> setter = {});

    void Update(float dt) override;
    void ReceiveMessage(const ObjectMessage& message) override;

    // Null until built, or once the box is gone.
    CheckBoxObject* GetControl() const;

private:
    std::wstring mPropertyName;
    std::function<bool()> mGetter;
    std::function<void(bool)> mSetter;
    ObjectID mControl;
};

// The shared body of the editors shown as a text field after a "name:" label. Unfocused, the field shows
// the value; focused, every frame hands the field's text back.
class TextFieldPropertyEditorObject : public PropertyEditorObject
{
public:
    static constexpr float kHeight = 25.0f;

    void Update(float dt) override;
    void ReceiveMessage(const ObjectMessage& message) override;
    TextEditObject* GetControl() const;

protected:
    explicit TextFieldPropertyEditorObject(const std::wstring& name);

    // The value as the field shows it; false when there is no getter (the field then keeps its text).
    virtual bool GetValueText(std::wstring* text) const = 0;
    // Hands the field's text to the setter, when there is one.
    virtual void SetValueText(const std::wstring& text) = 0;

private:
    std::wstring mPropertyName;
    ObjectID mControl;
};

// A text shown in a text field after a "name:" label. Unfocused, the field shows the getter's value;
// focused, every frame hands the field's text to the setter (when there is one).
class StringPropertyEditorObject : public TextFieldPropertyEditorObject
{
public:
    StringPropertyEditorObject(const std::wstring& name, std::function<std::wstring()> getter,
                               std::function<void(const std::wstring&)> setter = {});

protected:
    bool GetValueText(std::wstring* text) const override;
    void SetValueText(const std::wstring& text) override;

private:
    std::function<std::wstring()> mGetter;
    std::function<void(const std::wstring&)> mSetter;
};

// A number shown in a text field after a "name:" label, as the string formatter writes it. Focused,
// the field's text is read as a number every frame (text that is no number reads 0) and handed to the
// setter (when there is one).
class FloatPropertyEditorObject : public TextFieldPropertyEditorObject
{
public:
    FloatPropertyEditorObject(const std::wstring& name, std::function<float()> getter,
                              std::function<void(float)> setter = {});

protected:
    bool GetValueText(std::wstring* text) const override;
    void SetValueText(const std::wstring& text) override;

private:
    std::function<float()> mGetter;
    std::function<void(float)> mSetter;
};

// A choice among options shown as a list after a "name:" label; derived classes fill the list and hear
// the selected item's datum.
class OptionPropertyEditorObject : public PropertyEditorObject
{
public:
    static constexpr float kHeight = 100.0f;

    explicit OptionPropertyEditorObject(const std::wstring& name);

    void ReceiveMessage(const ObjectMessage& message) override;
    // Called with the datum of the selected item whenever the list reports a selection.
    virtual void OnOptionSelected(int data) = 0;

    ListObject* GetControl() const;

private:
    std::wstring mPropertyName;
    ObjectID mControl;
};

// The leading number of `text` read in the C locale, as wtof reads it: leading white space skipped, a
// sign, digits, a fraction and an exponent; 0 when the text starts with no number or the number is out
// of the float range.
float ReadLeadingFloat(const std::wstring& text);

} // namespace Strata
