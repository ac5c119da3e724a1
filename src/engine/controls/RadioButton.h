#pragma once

#include "controls/ObjectFactory.h"
#include "controls/ToggleControl.h"

namespace Strata
{

// A grouped choice (layout type "radiobutton"): its Click checks it and unchecks every other radio
// button of its group in the current object database, then broadcasts "RadioButtonClick" with its
// identifier as the sender. Lists hold 4 single images (12 three-slice), or 5 (15) with focus images;
// the checked look is the pressed one. Objects of the role "RadioButton" that are not radio buttons
// are passed over.
class RadioButtonObject : public ToggleControlObject
{
public:
    explicit RadioButtonObject(Label name);
    ~RadioButtonObject() override;

    // "RadioButton": the database files every radio button under it.
    Label GetRole() const override;

    // Exactly 5 single images or 15 three-slice images.
    bool HasFocusImages() const override;
    int GetImageIndex() const override;
    // Checks this button and unchecks the others of its group, told apart by identity, so unnamed or
    // same-named buttons exclude each other too. Plays "Checked" and broadcasts "RadioButtonClick"
    // (nothing is sent without a database). A checked button does all of it again.
    void Click() override;
    // The label is drawn at its place right of the image, or centred on a three-slice button.
    void Draw() override;

    Label GetGroup() const { return mGroup; }
    // The empty text and the null label are one group: the buttons without a group.
    void SetGroup(Label group);
    bool IsChecked() const { return mChecked; }
    // For the owning screen: sets the state quietly, touching no other button and sending nothing.
    void SetChecked(bool checked) { mChecked = checked; }

protected:
    const char* GetKindName() const override { return "RadioButton"; }

private:
    Label mGroup;
    bool mChecked = false;
};

// Reads "images", "sounds", "alphaSensitivity" (default 25) and "group". A missing image list or
// sound list leaves the button without one.
class RadioButtonObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata
