#include "game/screens/MenuScreen.h"

#include "framework/Object.h"
#include "framework/ResourceDescriptor.h"
#include "game/AudioManager.h"
#include "game/LevelManager.h"
#include "game/screens/ScreenSupport.h"
#include "graphics/ImageList.h"
#include "scene/ButtonNode.h"
#include "scene/SpriteNodes.h"

#include <string>
#include <utility>

namespace Yardcrew
{

std::vector<sContentName> ScreenContentNames(const sMenuScreen& screen)
{
    std::vector<sContentName> names{{ContentKind_SceneLayout, screen.layout}};
    for (const sScreenWords& words : screen.words)
        names.push_back(words.words);
    if (screen.prompt != nullptr)
        names.push_back({ContentKind_Voice, screen.prompt});
    names.insert(names.end(), screen.more.begin(), screen.more.end());
    return names;
}

MenuScreen::MenuScreen(const sMenuScreen& screen) : mDescription(screen)
{
}

void MenuScreen::Setup()
{
    SceneApplicationMode::Setup();
    mScreen = InstantiateScreenLayout(*this, mDescription.layout, mDescription.screen);
}

void MenuScreen::Enter()
{
    SceneApplicationMode::Enter();
    if (std::exchange(mCovered, false))
        mLeaving.Reset();
    ShowWords();
    if (mDescription.music != MusicMode_None)
        GetAudioManager()->setMusicMode(mDescription.music, Strata::Label());
    if (mDescription.prompt != nullptr)
        GetAudioManager()->playSpecificSoundVocal(Strata::Label(mDescription.prompt));
}

void MenuScreen::ShowWords()
{
    const char* suffix = LanguageSuffix();
    for (const sScreenWords& words : mDescription.words)
    {
        Strata::SceneNode* node = ScreenChild<Strata::SceneNode>(mScreen, words.node);
        if (words.child != nullptr)
            node = ScreenChild<Strata::SceneNode>(node, words.child);
        const std::string name = std::string(words.words.name) + suffix;
        if (auto* button = dynamic_cast<Strata::ButtonNode*>(node))
        {
            // A missing list keeps the button's own images; the content check names it.
            const Strata::AutoResource<Strata::IImageList> images(name);
            if (images.Get() != nullptr)
                button->SetImages(images.Get(), 0.0f, images.GetDescriptor());
        }
        else if (auto* sprite = dynamic_cast<Strata::StaticSpriteNode*>(node))
            sprite->setImage(Strata::Label::FromString(name));
    }
}

void MenuScreen::OnWidget(const char* message, const char* widget, std::function<void()> action)
{
    mActions.push_back({Strata::Label(message), Strata::Label(widget), std::move(action)});
}

void MenuScreen::ReceiveMessage(const Strata::ObjectMessage& message)
{
    if (HasLeft())
        return;
    const Strata::Object* sender = GetObject(message.GetSender());
    if (sender == nullptr)
        return;
    for (const sWidgetAction& entry : mActions)
    {
        if (entry.message == message.GetName() && entry.widget == sender->GetName())
        {
            entry.action();
            return;
        }
    }
}

bool MenuScreen::Close()
{
    if (!Leave())
        return false;
    GetLevelManager().getModeQueue().pop();
    return true;
}

bool MenuScreen::UnwindTo(std::unique_ptr<Strata::ApplicationMode> mode)
{
    return !HasLeft() && UnwindToScreen(std::move(mode)) && Leave();
}

bool MenuScreen::PushOver(std::unique_ptr<Strata::ApplicationMode> mode)
{
    if (HasLeft() || !PushScreen(std::move(mode)))
        return false;
    mCovered = true;
    return Leave();
}

} // namespace Yardcrew
