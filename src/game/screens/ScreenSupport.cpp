#include "game/screens/ScreenSupport.h"

#include "core/Log.h"
#include "framework/Account.h"
#include "framework/Object.h"
#include "framework/ResourceDescriptor.h"
#include "game/AccountKeys.h"
#include "game/LevelManager.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneLayout.h"

#include <string>

namespace Yardcrew
{

Strata::SceneNode* InstantiateScreenLayout(Strata::SceneApplicationMode& mode, const char* layout, const char* screen)
{
    const Strata::AutoResource<Strata::SceneLayout> resource{Strata::Label(layout)};
    Strata::SceneNode* root =
        resource.Get() != nullptr ? resource->InstantiateLayout(&mode, mode.GetRootNode()) : nullptr;
    if (root == nullptr)
        Strata::Log((std::string("The ") + screen + " has no layout \"" + layout + "\"\n").c_str());
    return root;
}

Strata::Label WidgetSenderName(const Strata::SceneApplicationMode& mode, const Strata::ObjectMessage& message,
                               const char* kind)
{
    if (message.GetName() != Strata::Label(kind))
        return Strata::Label();
    const Strata::Object* sender = mode.GetObject(message.GetSender());
    return sender != nullptr ? sender->GetName() : Strata::Label();
}

bool ProfileSpeaksEnglish()
{
    Strata::Account* account = GetCurrentGameAccount();
    return account == nullptr || account->ReadValue(L"EnglishLanguage", true);
}

const char* LanguageSuffix()
{
    return ProfileSpeaksEnglish() ? "_EN" : "_SP";
}

namespace
{

bool CheckRegistered(const Strata::ApplicationMode* mode)
{
    if (mode == nullptr)
        Strata::Log("No screen is registered for this button\n");
    return mode != nullptr;
}

} // namespace

bool UnwindToScreen(std::unique_ptr<Strata::ApplicationMode> mode)
{
    if (!CheckRegistered(mode.get()))
        return false;
    GetLevelManager().getModeQueue().unwindTo(std::move(mode));
    return true;
}

bool PushScreen(std::unique_ptr<Strata::ApplicationMode> mode)
{
    if (!CheckRegistered(mode.get()))
        return false;
    GetLevelManager().getModeQueue().push(std::move(mode));
    return true;
}

} // namespace Yardcrew
