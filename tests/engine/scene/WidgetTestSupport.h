#pragma once

// Seams for the widget-node tests: a scene mode that records the broadcasts it hears, sound-list hooks
// that record what plays, and layouts instantiated under the mode's root.

#include "framework/SoundListHooks.h"
#include "framework/ValueResources.h"
#include "scene/SceneApplicationMode.h"

#include "NodeTestSupport.h"

#include <string>
#include <vector>

namespace Strata::Testing
{

// Everything a widget did, in order: "ButtonClick:<sender name>", "sound:<list>:<event>", or what the
// test appends itself.
inline std::vector<std::string>& WidgetEvents()
{
    static std::vector<std::string> events;
    return events;
}

// A test image list of `count` frames, each with the given attributes.
inline std::string Frames(const char* name, int count, const char* attributes)
{
    std::string list = std::string("<testimagelist name=\"") + name + "\">";
    for (int i = 0; i < count; ++i)
        list += std::string("<frame ") + attributes + "/>";
    return list + "</testimagelist>\n";
}

// Stands in for a sound list: the hooks find one per name and record what it plays.
struct FakeSoundList
{
    std::string name;
};

class RecordingSceneMode : public SceneApplicationMode
{
public:
    void ReceiveMessage(const ObjectMessage& message) override
    {
        const Object* sender = GetObject(message.GetSender());
        const std::string name = message.GetName().c_str();
        if (name.find("Click") != std::string::npos || name.find("Change") != std::string::npos)
            WidgetEvents().push_back(name + ":" + (sender ? sender->GetName().c_str() : "?"));
        SceneApplicationMode::ReceiveMessage(message);
    }
};

class WidgetTest : public ModeResourceTest<RecordingSceneMode>
{
protected:
    void SetUp() override
    {
        ModeResourceTest::SetUp();
        SetupStrataExtensions();
        CreateConstantResourceFactories();
        manager->AddResourceFactory(L"testimagelist", new TestImageListFactory());
        manager->AddResourceFactory(L"testfont", new TestFontFactory());
        EnterMode();
        mode->Setup();
        WidgetEvents().clear();
        sSoundListHooks hooks;
        hooks.find = [](Label name) -> const SoundList*
        {
            static std::vector<std::unique_ptr<FakeSoundList>> lists;
            if (std::string(name.c_str()) == "NoSuchList")
                return nullptr;
            lists.push_back(std::make_unique<FakeSoundList>(FakeSoundList{name.c_str()}));
            return reinterpret_cast<const SoundList*>(lists.back().get());
        };
        hooks.play = [](const SoundList& list, Label event)
        {
            const auto& fake = reinterpret_cast<const FakeSoundList&>(list);
            WidgetEvents().push_back("sound:" + fake.name + ":" + event.c_str());
        };
        InstallSoundListHooks(hooks);
    }

    void TearDown() override
    {
        InstallSoundListHooks(sSoundListHooks{});
        ModeResourceTest::TearDown();
    }

    std::string Load(const std::wstring& manifest, const std::string& body)
    {
        AddManifest(manifest, body);
        return manager->Load(manifest.c_str())->GetFailureMessage();
    }

    // A one-node layout instantiated under the root, named `name`.
    template <class T>
    T* Make(const std::string& element, const char* name = "w")
    {
        const std::string layout = "L" + std::to_string(++mLayouts);
        const std::wstring manifest(layout.begin(), layout.end());
        EXPECT_EQ("", Load(manifest, "<scenelayout name=\"" + layout + "\">" + element + "</scenelayout>\n"));
        const SceneLayout* found = AutoResource<SceneLayout>(layout.c_str()).Get();
        if (found == nullptr)
            return nullptr;
        SceneNode* node = found->InstantiateLayout(mode.get(), mode->GetRootNode());
        EXPECT_NE(nullptr, dynamic_cast<T*>(node)) << element;
        if (node != nullptr)
            node->SetNodeName(Label(name));
        return dynamic_cast<T*>(node);
    }

    std::string Events() const
    {
        std::string joined;
        for (const std::string& event : WidgetEvents())
            joined += (joined.empty() ? "" : " ") + event;
        return joined;
    }

private:
    int mLayouts = 0;
};

} // namespace Strata::Testing
