#include "scene/SceneLayoutController.h"

#include "SceneLayoutTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace Strata;
using namespace Strata::Testing;

namespace
{

class TreeController : public SceneLayoutController
{
public:
    TreeController(const SceneLayout* layout, std::vector<std::string>* log) : mLayout(layout), mLog(log) {}
    SceneTreePtr GetLayoutNode() override
    {
        return mLayout ? mLayout->InstantiateLayout(static_cast<SceneNode*>(nullptr)) : nullptr;
    }
    void ControllerDestroyed() override { mLog->push_back("ControllerDestroyed"); }
    void AddedToScene() override { mLog->push_back("AddedToScene"); }

private:
    const SceneLayout* mLayout;
    std::vector<std::string>* mLog;
};

enum class Ender
{
    Controller,
    Root,
    RootsParent
};

std::string EnderName(const ::testing::TestParamInfo<Ender>& info)
{
    static const char* const kNames[] = {"Controller", "Root", "RootsParent"};
    return kNames[static_cast<int>(info.param)];
}

class SceneLayoutControllerTest : public SceneLayoutTest, public ::testing::WithParamInterface<Ender>
{
protected:
    void SetUp() override
    {
        SceneLayoutTest::SetUp();
        ASSERT_EQ("", LoadLayout("Piece", "<scenenode nodeName=\"piece\"><scenenode/><scenenode/></scenenode>"));
        scene = new SceneNode(Label());
        mode->AddObject(scene);
    }

    bool Alive(ObjectID id) { return mode->GetObject(id) != nullptr; }

    SceneNode* scene = nullptr;
    std::vector<std::string> log;
};

} // namespace

TEST_P(SceneLayoutControllerTest, EitherSideEndingEndsBothOnceEach)
{
    auto* controller = new TreeController(Layout("Piece"), &log);
    ASSERT_TRUE(controller->AddToCurScene(scene));
    SceneNode* node = controller->GetNode();
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(scene, node->GetParent());
    EXPECT_EQ(node, scene->GetChild(Label("piece")));
    const ObjectID controllerID = controller->GetID();
    std::vector<ObjectID> tree{node->GetID()};
    for (const SceneNode* child : node->GetChildren())
        tree.push_back(child->GetID());
    for (const ObjectID id : tree)
        EXPECT_TRUE(Alive(id));
    EXPECT_EQ(std::vector<std::string>{"AddedToScene"}, log);
    EXPECT_FALSE(controller->AddToScene(mode.get(), scene)) << "a controller is added once";

    controller->controllerDestroyedSignal.connect([&](SceneLayoutController* ended) {
        log.push_back(ended == controller && !Alive(tree[0]) ? "signal after the root went" : "signal too early");
    });
    node->destroyedSignal.connect([&](SceneNode*) { log.push_back("root destroyed"); });

    switch (GetParam())
    {
    case Ender::Controller:
        mode->DestroyObject(controllerID);
        EXPECT_EQ(nullptr, controller->GetNode());
        break;
    case Ender::Root:
        mode->DestroyObject(tree[0]);
        break;
    case Ender::RootsParent:
        mode->DestroyObject(scene->GetID());
        break;
    }
    mode->Update(0.0f);
    mode->Update(0.0f);

    EXPECT_FALSE(Alive(controllerID));
    for (const ObjectID id : tree)
        EXPECT_FALSE(Alive(id));
    ASSERT_EQ(4u, log.size());
    EXPECT_EQ(1, std::count(log.begin(), log.end(), "ControllerDestroyed"));
    EXPECT_EQ(1, std::count(log.begin(), log.end(), "root destroyed"));
    const auto hook = std::find(log.begin(), log.end(), "ControllerDestroyed");
    const auto signal = std::find(log.begin(), log.end(), "signal after the root went");
    ASSERT_NE(log.end(), signal);
    EXPECT_LT(hook, signal) << "the signal follows the hook";
}

INSTANTIATE_TEST_SUITE_P(Controllers, SceneLayoutControllerTest,
                         ::testing::Values(Ender::Controller, Ender::Root, Ender::RootsParent),
                         EnderName);

TEST_F(SceneLayoutTest, AControllerNeedsADatabaseAndATreeButNoParent)
{
    ASSERT_EQ("", LoadLayout("Loose", "<scenenode/>"));
    std::vector<std::string> log;

    auto unattached = std::make_unique<TreeController>(Layout("Loose"), &log);
    ASSERT_TRUE(unattached->AddToScene(mode.get(), nullptr));
    TreeController* added = unattached.release();
    ASSERT_NE(nullptr, added->GetNode());
    EXPECT_EQ(nullptr, added->GetNode()->GetParent()) << "in the database, attached nowhere";
    EXPECT_EQ(added->GetNode(), mode->GetObject(added->GetNode()->GetID()));

    TreeController refused(Layout("Loose"), &log);
    EXPECT_FALSE(refused.AddToScene(nullptr, nullptr));
    TreeController empty(nullptr, &log);
    EXPECT_FALSE(empty.AddToScene(mode.get(), nullptr)) << "no tree, nothing added";
    EXPECT_TRUE(empty.GetID().IsInvalid());
    {
        MainLoop::AutoContext none;
        MainLoop::WithinContext(nullptr, none);
        EXPECT_FALSE(refused.AddToCurScene(nullptr)) << "no current database";
    }
    EXPECT_EQ(std::vector<std::string>{"AddedToScene"}, log);
}
