#include "SceneTestSupport.h"

#include <algorithm>
#include <memory>
#include <random>

namespace
{

using namespace SceneTesting;

// Random trees of a few hundred nodes under random edits and input, with slots that edit the tree
// from inside every walk (drawing, hovering, presses, keys, removal). Nothing may crash, touch freed
// memory or leak (the sanitizers watch), and the tree must stay consistent.
class StressRun
{
public:
    explicit StressRun(uint32_t seed) : mRandom(seed)
    {
        MainLoop::WithinContext(mMode.get(), mGuard);
        mMode->Setup();
        mImage = std::make_unique<Image>(4, 4);
    }

    void Run(int initialNodes, int steps)
    {
        for (int i = 0; i < initialNodes; ++i)
            Create();
        PushContext(Context{&mCanvas, sDrawState::GetDefaults()});
        for (int step = 0; step < steps; ++step)
        {
            Step();
            if (step % 50 == 0)
                CheckTree();
        }
        PopContext();
        CheckTree();
    }

private:
    int Below(int n) { return static_cast<int>(mRandom() % static_cast<uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

    SceneNode* Live(ObjectID id) const { return dynamic_cast<SceneNode*>(mMode->GetObject(id)); }

    // A random live node, or the root.
    SceneNode* Pick()
    {
        for (int tries = 0; tries < 8 && !mIDs.empty(); ++tries)
            if (SceneNode* node = Live(mIDs[Below(static_cast<int>(mIDs.size()))]))
                return node;
        return mMode->GetRootNode();
    }

    // A random node (never the root, which stays the top of the scene) moved under `parent`.
    void Adopt(SceneNode* parent)
    {
        SceneNode* child = Pick();
        if (child != mMode->GetRootNode())
            parent->AttachChild(child);
    }

    // Never the root: the scene keeps its root.
    void DestroyRandom()
    {
        if (!mIDs.empty())
            mMode->DestroyObject(mIDs[Below(static_cast<int>(mIDs.size()))]);
    }

    void Create()
    {
        SceneNode* parent = Pick();
        auto* node = new ImageNode(mImage.get());
        node->LocalSetLocation(static_cast<float>(Below(800)), static_cast<float>(Below(600)));
        node->SetWidth(static_cast<float>(Below(200)));
        node->SetHeight(static_cast<float>(Below(200)));
        node->hitTest = Chance(70);
        node->SetNodeName(Label(Chance(50) ? "Twin" : "Other"));
        if (Chance(30))
            node->LocalSetScale(Vector2<float>(2.0f, 0.5f));
        if (Chance(30))
            node->LocalSetOrientation(Angle(0.5f));
        Connect(node);
        if (parent)
            parent->AttachChild(node);
        node->AddToDatabase(mMode.get());
        mIDs.push_back(node->GetID());
    }

    // Slots that edit the tree while a walk is in progress.
    void Connect(SceneNode* node)
    {
        if (Chance(40))
        {
            node->mouseDownSignal.connect([this](SceneNode* self, MouseButton, int, int) { Edit(self); });
            node->mouseUpSignal.connect([this](SceneNode* self, MouseButton, int, int) { Edit(self); });
        }
        if (Chance(40))
        {
            node->mouseEnterSignal.connect([this](SceneNode* self) { Edit(self); });
            node->mouseExitSignal.connect([this](SceneNode* self) { Edit(self); });
        }
        if (Chance(10))
        {
            node->drawSignal.connect(
                [this](SceneNode* self)
                {
                    if (Chance(10))
                        Edit(self);
                });
        }
        if (Chance(20))
            node->keyDownSignal.connect([this](SceneNode* self, int) { Edit(self); });
        if (Chance(20))
            node->destroyedSignal.connect([this](SceneNode* self) { Edit(self); });
    }

    // One random edit from inside a slot: the node may end, adopt, capture, take the focus, or others
    // may be destroyed, detached, moved or created.
    void Edit(SceneNode* self)
    {
        switch (Below(8))
        {
        case 0:
            DestroyRandom();
            break;
        case 1:
            Adopt(self);
            break;
        case 2:
            self->Capture();
            break;
        case 3:
            Pick()->Focus();
            break;
        case 4:
            Pick()->DetachFromParent();
            break;
        case 5:
            Pick()->MoveToBottomOfParent();
            break;
        case 6:
            if (mIDs.size() < 2000)
                Create();
            break;
        default:
            mMode->DestroyObject(self->GetID());
            break;
        }
    }

    void Step()
    {
        const int x = Below(900) - 50;
        const int y = Below(700) - 50;
        switch (Below(12))
        {
        case 0:
            Create();
            break;
        case 1:
            Adopt(Pick());
            break;
        case 2:
            Pick()->DetachFromParent();
            break;
        case 3:
            DestroyRandom();
            break;
        case 4:
            Pick()->MoveToBottomOfParent();
            break;
        case 5:
            mMode->OnMouseMove(x, y);
            break;
        case 6:
            mMode->OnMouseDown(static_cast<MouseButton>(Below(3)), x, y);
            break;
        case 7:
            mMode->OnMouseUp(static_cast<MouseButton>(Below(3)), x, y);
            break;
        case 8:
            mMode->OnKeyDown(Below(256));
            break;
        case 9:
            mMode->Update(0.02f);
            break;
        case 10:
            mCanvas.draws.clear();
            mMode->Draw();
            break;
        default:
        {
            SceneNode* node = Pick();
            node->LocalSetLocation(static_cast<float>(x), static_cast<float>(y));
            node->LocalSetVisible(Chance(90));
            Pick()->GlobalGetBounds();
            Pick()->GetDescendentAtLocation(Vector2<float>(static_cast<float>(x), static_cast<float>(y)));
            break;
        }
        }
    }

    // Every live node's parent is live and lists it; every child points back; no loops.
    void CheckTree()
    {
        ObjectDatabase::sIterator iterator;
        for (ObjectID id = mMode->GetNextObject(&iterator); !id.IsInvalid(); id = mMode->GetNextObject(&iterator))
        {
            SceneNode* node = Live(id);
            ASSERT_NE(nullptr, node);
            if (SceneNode* parent = node->GetParent())
            {
                ASSERT_EQ(parent, mMode->GetObject(parent->GetID()));
                const auto& siblings = parent->GetChildren();
                ASSERT_NE(siblings.end(), std::find(siblings.begin(), siblings.end(), node));
            }
            for (SceneNode* child : node->GetChildren())
                ASSERT_EQ(node, child->GetParent());
            int depth = 0;
            for (SceneNode* up = node; up != nullptr; up = up->GetParent())
                ASSERT_LT(++depth, 5000);
        }
    }

    std::mt19937 mRandom;
    std::unique_ptr<SceneApplicationMode> mMode = std::make_unique<SceneApplicationMode>();
    MainLoop::AutoContext mGuard;
    std::unique_ptr<Image> mImage;
    RecordingCanvas mCanvas;
    std::vector<ObjectID> mIDs;
};

TEST(SceneStress, RandomTreesSurviveRandomEditsAndInput)
{
    for (uint32_t seed = 1; seed <= 12; ++seed)
    {
        SCOPED_TRACE(seed);
        StressRun run(seed);
        run.Run(300, 3000);
        if (HasFatalFailure())
            return;
    }
}

} // namespace
