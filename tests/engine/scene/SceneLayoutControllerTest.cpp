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

// Which object the test destroys first.
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
};

} // namespace

TEST_P(SceneLayoutControllerTest, EitherSideEndingEndsBothOnceEach)
{
    ASSERT_EQ("", LoadLayout("Piece", "<scenenode nodeName=\"piece\"><scenenode/><scenenode/></scenenode>"));
    auto* scene = new SceneNode(Label());
    mode->AddObject(scene);
    std::vector<std::string> log;
    auto* controller = new TreeController(Layout("Piece"), &log);
    ASSERT_TRUE(controller->AddToCurScene(scene));
    SceneNode* node = controller->GetNode();
    ASSERT_EQ(node, scene->GetChild(Label("piece")));
    EXPECT_FALSE(controller->AddToScene(mode.get(), scene)) << "a controller is added once";
    std::vector<ObjectID> ids{controller->GetID(), node->GetID()};
    for (const SceneNode* child : node->GetChildren())
        ids.push_back(child->GetID());
    const auto alive = [&](ObjectID id) { return mode->GetObject(id) != nullptr; };
    EXPECT_TRUE(std::all_of(ids.begin(), ids.end(), alive));

    controller->controllerDestroyedSignal.connect(
        [&](SceneLayoutController* ended)
        { log.push_back(ended == controller && !alive(ids[1]) ? "signal after the root went" : "signal too early"); });
    node->destroyedSignal.connect([&](SceneNode*) { log.push_back("root destroyed"); });
    const ObjectID first[] = {ids[0], ids[1], scene->GetID()};
    mode->DestroyObject(first[static_cast<int>(GetParam())]);
    mode->Update(0.0f);
    mode->Update(0.0f);

    EXPECT_TRUE(std::none_of(ids.begin(), ids.end(), alive));
    std::vector<std::string> sorted = log;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ((std::vector<std::string>{"AddedToScene", "ControllerDestroyed", "root destroyed",
                                        "signal after the root went"}),
              sorted);
    EXPECT_LT(std::find(log.begin(), log.end(), "ControllerDestroyed"),
              std::find(log.begin(), log.end(), "signal after the root went"));
}

INSTANTIATE_TEST_SUITE_P(Controllers, SceneLayoutControllerTest,
                         ::testing::Values(Ender::Controller, Ender::Root, Ender::RootsParent), EnderName);

TEST_F(SceneLayoutTest, AControllerNeedsADatabaseAndATreeButNoParent)
{
    ASSERT_EQ("", LoadLayout("Loose", "<scenenode/>"));
    std::vector<std::string> log;
    auto unattached = std::make_unique<TreeController>(Layout("Loose"), &log);
    ASSERT_TRUE(unattached->AddToScene(mode.get(), nullptr));
    const TreeController* added = unattached.release();
    EXPECT_EQ(nullptr, added->GetNode()->GetParent()) << "in the database, attached nowhere";
    EXPECT_EQ(added->GetNode(), mode->GetObject(added->GetNode()->GetID()));

    TreeController refused(Layout("Loose"), &log);
    EXPECT_FALSE(refused.AddToScene(nullptr, nullptr));
    TreeController empty(nullptr, &log);
    EXPECT_FALSE(empty.AddToScene(mode.get(), nullptr)) << "no tree, nothing added";
    EXPECT_TRUE(empty.GetID().IsInvalid());
    MainLoop::AutoContext none;
    MainLoop::WithinContext(nullptr, none);
    EXPECT_FALSE(refused.AddToCurScene(nullptr)) << "no current database";
    EXPECT_EQ(std::vector<std::string>{"AddedToScene"}, log);
}
