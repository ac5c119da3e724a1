#pragma once

// Seams for the scene-layout tests: the real resource manager and loader thread with the scene
// graph's factories, a "probe" node type that records how it was made, and a mode made current.

#include "framework/ApplicationMode.h"
#include "framework/MainLoop.h"
#include "scene/SceneLayout.h"
#include "scene/SceneNode.h"
#include "scene/SceneNodeFactory.h"
#include "scene/StrataExtensions.h"

#include "engine/framework/ResourceTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace Strata::Testing
{

// A node that records how many children it had when it was attached to its parent.
class ProbeNode : public SceneNode
{
public:
    ProbeNode() : SceneNode(Label("made by the factory")) {}
    void ParentNodeChanged(SceneNode* parent) override { childrenWhenAttached = parent ? GetChildren().size() : 99; }
    size_t childrenWhenAttached = 99;
};

struct ProbeDescriptor : SceneNodeDescriptor
{
    std::thread::id readOn;
};

// "probe": a ProbeNode that sets its own name, node name, hit test (on), button mask (right) and
// attach params (right, bottom), so the layout's overwriting and combining shows.
class ProbeNodeFactory : public SceneNodeFactory
{
public:
    std::unique_ptr<SceneNodeDescriptor> CreateDescriptor(const IAttributeContainer&) const override
    {
        auto descriptor = std::make_unique<ProbeDescriptor>();
        descriptor->readOn = std::this_thread::get_id();
        return descriptor;
    }
    SceneTreePtr CreateNode(const SceneNodeDescriptor*) const override
    {
        auto* node = new ProbeNode();
        node->SetNodeName(Label("factoryNodeName"));
        node->hitTest = true;
        node->mouseButtons = 2;
        node->SetNodeAttachParams(NodeAttachNPI().ParentAlign(HAlignment_Right, VAlignment_Bottom));
        return SceneTreePtr(node);
    }
};

class SceneLayoutTest : public ModeResourceTest<ApplicationMode>
{
protected:
    void SetUp() override
    {
        ResourceTest::SetUp();
        SetupStrataExtensions();
        SceneLayoutManager::Instance().AddSceneNodeFactory(L"probe", std::make_unique<ProbeNodeFactory>());
        EnterMode();
    }

    // Loads a manifest of one layout on the loader thread; the failure message, empty when it loaded.
    std::string LoadLayout(const std::string& name, const std::string& content, const std::wstring& manifest = L"M")
    {
        AddManifest(manifest, "<scenelayout name=\"" + name + "\">" + content + "</scenelayout>\n");
        const auto job = manager->Load(manifest.c_str());
        EXPECT_TRUE(job->IsComplete());
        return job->GetFailureMessage();
    }

    const SceneLayout* Layout(const char* name) { return AutoResource<SceneLayout>(name).Get(); }
};

} // namespace Strata::Testing
