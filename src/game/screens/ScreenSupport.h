#pragma once

#include "core/Label.h"
#include "scene/NodePath.h"
#include "scene/SceneNode.h"

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
// "_EN", or "_SP" when the current profile plays in Spanish: the ending of every localized name.
const char* LanguageSuffix();
// The named direct child of `root` as T; null when missing or of another type.
template <class T>
T* ScreenChild(Strata::SceneNode* root, const char* name);
// Moves to `mode` through the level manager's queue, dropping every mode beneath, or pushes it over
// the top mode. A null mode (a screen nobody registered) is logged, changes nothing and gives false.
bool UnwindToScreen(std::unique_ptr<Strata::ApplicationMode> mode);
bool PushScreen(std::unique_ptr<Strata::ApplicationMode> mode);

template <class T>
T* ScreenChild(Strata::SceneNode* root, const char* name)
{
    if (root == nullptr)
        return nullptr;
    const Strata::NodePathStep path[2] = {name, Strata::NodePathTerminator()};
    return dynamic_cast<T*>(root->GetDescendent(path));
}

} // namespace Yardcrew
