#pragma once

// Seams for the slider and text edit tests: a scene mode made current that records every message its
// database hears, fake sound-list hooks that record the events played, and layouts instantiated under the
// mode's root.

#include "framework/SoundListHooks.h"
#include "scene/SceneApplicationMode.h"

#include "NodeTestSupport.h"

#include <string>
#include <vector>

namespace Strata::Testing
{

// Remembers every message it hears as "<message> from <sender's name>".
class MessageRecordingMode : public SceneApplicationMode
{
public:
    void ReceiveMessage(const ObjectMessage& message) override
    {
        Object* sender = GetObject(message.GetSender());
        messages.push_back(std::string(message.GetName().c_str()) + " from " +
                           (sender ? sender->GetName().c_str() : "?"));
    }
    std::vector<std::string> messages;
};

class SceneWidgetTest : public NodeTest
{
protected:
    void SetUp() override
    {
        NodeTest::SetUp();
        mSavedHooks = GetSoundListHooks();
        sSoundListHooks hooks;
        // The lists are never looked into: any name finds the one token list, whose events are logged.
        hooks.find = [](Label) { return reinterpret_cast<const SoundList*>(&SoundToken()); };
        hooks.play = [](const SoundList&, Label event) { Played().push_back(event.c_str()); };
        InstallSoundListHooks(hooks);
        Played().clear();
        scene = std::make_unique<MessageRecordingMode>();
        mGuard = std::make_unique<MainLoop::AutoContext>();
        MainLoop::WithinContext(scene.get(), *mGuard);
        scene->Setup();
    }

    void TearDown() override
    {
        scene.reset();
        mGuard.reset();
        InstallSoundListHooks(mSavedHooks);
        NodeTest::TearDown();
    }

    // A one-node layout instantiated under the scene's root, named "W" so messages name their sender.
    template <class T>
    T* Place(const std::string& element)
    {
        const std::string name = "W" + std::to_string(++mPlaced);
        EXPECT_EQ("", LoadLayout(name, element, std::wstring(name.begin(), name.end())));
        const SceneLayout* layout = Layout(name.c_str());
        if (layout == nullptr)
            return nullptr;
        SceneNode* node = layout->InstantiateLayout(scene.get(), scene->GetRootNode());
        EXPECT_NE(nullptr, dynamic_cast<T*>(node)) << element;
        return dynamic_cast<T*>(node);
    }

    // Messages and sounds since the last call.
    std::vector<std::string> TakeMessages() { return std::exchange(scene->messages, {}); }
    static std::vector<std::string> TakeSounds() { return std::exchange(Played(), {}); }

    void Press(int x, int y) { scene->OnMouseDown(MouseButton_Left, x, y); }
    void Release(int x, int y) { scene->OnMouseUp(MouseButton_Left, x, y); }

    std::unique_ptr<MessageRecordingMode> scene;

private:
    static const std::max_align_t& SoundToken()
    {
        static const std::max_align_t token{};
        return token;
    }
    static std::vector<std::string>& Played()
    {
        static std::vector<std::string> played;
        return played;
    }

    sSoundListHooks mSavedHooks;
    std::unique_ptr<MainLoop::AutoContext> mGuard;
    int mPlaced = 0;
};

} // namespace Strata::Testing
