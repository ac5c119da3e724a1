#include "game/screens/ScreenSupport.h"

#include "core/Log.h"
#include "framework/Account.h"
#include "framework/Object.h"
#include "framework/ResourceDescriptor.h"
#include "game/AccountKeys.h"
#include "game/LevelManager.h"
#include "graphics/ImageList.h"
#include "scene/ButtonNode.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneLayout.h"
#include "scene/SpriteNodes.h"

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

void LocalizeButtons(Strata::SceneNode* root, std::initializer_list<const char*> buttons)
{
    const char* suffix = ProfileSpeaksEnglish() ? "_EN" : "_SP";
    for (const char* name : buttons)
    {
        auto* button = ScreenChild<Strata::ButtonNode>(root, name);
        if (button == nullptr)
            continue;
        const Strata::AutoResource<Strata::IImageList> images(std::string("Button_") + name + suffix);
        if (images.Get() != nullptr)
            button->SetImages(images.Get(), 0.0f, images.GetDescriptor());
    }
}

void LocalizeHeading(Strata::SceneNode* root, const char* heading)
{
    if (auto* sprite = ScreenChild<Strata::StaticSpriteNode>(root, "Heading"))
    {
        const std::string name = std::string("Heading_") + heading + (ProfileSpeaksEnglish() ? "_EN" : "_SP");
        sprite->setImage(Strata::Label::FromString(name));
    }
}

void UnwindToScreen(std::unique_ptr<Strata::ApplicationMode> mode)
{
    if (mode == nullptr)
    {
        Strata::Log("No screen is registered for this button\n");
        return;
    }
    GetLevelManager().getModeQueue().unwindTo(std::move(mode));
}

void PushScreen(std::unique_ptr<Strata::ApplicationMode> mode)
{
    if (mode == nullptr)
    {
        Strata::Log("No screen is registered for this button\n");
        return;
    }
    GetLevelManager().getModeQueue().push(std::move(mode));
}

} // namespace Yardcrew
