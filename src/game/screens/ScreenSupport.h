#pragma once

#include "core/Label.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"

#include <initializer_list>
#include <memory>

namespace Strata
{
class ApplicationMode;
class ObjectMessage;
class SceneApplicationMode;
class SceneNode;
} // namespace Strata

namespace Yardcrew
{

// Instantiates the layout under the mode's root node; a missing layout is logged once per call as
// "The <screen> has no layout ..." and leaves the screen empty (its music and keys still work).
Strata::SceneNode* InstantiateScreenLayout(Strata::SceneApplicationMode& mode, const char* layout,
                                           const char* screen = "screen");
// The sender's name when `message` is the widget message `kind` ("ButtonClick", "RadioButtonClick"...);
// the null label for any other message or a sender that is gone.
Strata::Label WidgetSenderName(const Strata::SceneApplicationMode& mode, const Strata::ObjectMessage& message,
                               const char* kind);
// The current profile's choice of language; English without a profile or a choice.
bool ProfileSpeaksEnglish();
// Gives each named button under `root` its words in the profile's language: the image list
// "Button_<name>_EN" or "Button_<name>_SP". A missing button or list is skipped.
void LocalizeButtons(Strata::SceneNode* root, std::initializer_list<const char*> buttons);
// Shows the heading in the profile's language on the static sprite "Heading" under `root`: the image
// "Heading_<heading>_EN" or "Heading_<heading>_SP".
void LocalizeHeading(Strata::SceneNode* root, const char* heading);
// The named direct child of `root` as T; null when missing or of another type.
template <class T>
T* ScreenChild(Strata::SceneNode* root, const char* name);
// Moves to `mode` through the level manager's queue, dropping every mode beneath (a null mode is
// logged and changes nothing).
void UnwindToScreen(std::unique_ptr<Strata::ApplicationMode> mode);
void PushScreen(std::unique_ptr<Strata::ApplicationMode> mode);

template <class T>
T* ScreenChild(Strata::SceneNode* root, const char* name)
{
    if (root == nullptr)
        return nullptr;
    const Strata::NodePathStep path[2] = {name, Strata::NodePathTerminator()};
    return dynamic_cast<T*>(root->GetDescendent(path));
}

} // namespace Yardcrew
