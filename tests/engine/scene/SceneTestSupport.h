#pragma once

// A scene mode made current for one test, and a canvas that records the image draws reaching it.

#include "framework/MainLoop.h"
#include "graphics/Canvas.h"
#include "graphics/Context.h"
#include "graphics/Image.h"
#include "scene/SceneApplicationMode.h"
#include "scene/SceneNode.h"

#include <gtest/gtest.h>

#include <vector>

namespace SceneTesting
{

using namespace Strata;
using namespace Strata::Graphics;

struct RecordedDraw
{
    enum Kind
    {
        Plain,
        Stretched,
        Rotated,
        StretchedRotated
    };
    Kind kind = Plain;
    IImage* image = nullptr;
    float x = 0.0f;
    float y = 0.0f;
    Rect<int> destination;
    float angle = 0.0f;
    sDrawState state;
};

class RecordingCanvas final : public ICanvas, public IQuadDrawingCanvas
{
public:
    Label GetKind() const override { return Label("SceneRecordingCanvas"); }
    const Rect<int>& GetBounds() const override { return mBounds; }
    bool QueryInterface(Label name, void** out) override
    {
        return AnswerInterface<ICanvas>(this, name, out) || AnswerInterface<IQuadDrawingCanvas>(this, name, out);
    }
    int DrawFilledRect(const Rect<int>&, const sDrawState&) override { return 0; }
    int DrawFilledRect(const Rect<float>&, const sDrawState&) override { return 0; }
    int DrawImage(IImage* image, float x, float y, const sDrawState& state) override
    {
        return Record({RecordedDraw::Plain, image, x, y, {}, 0.0f, state});
    }
    int DrawStretchedImage(IImage* image, const Rect<int>& destination, const sDrawState& state) override
    {
        return Record({RecordedDraw::Stretched, image, 0.0f, 0.0f, destination, 0.0f, state});
    }
    int DrawRotatedImage(IImage* image, float x, float y, Angle angle, const sDrawState& state) override
    {
        return Record({RecordedDraw::Rotated, image, x, y, {}, angle.GetValue(), state});
    }
    int DrawStretchedRotatedImage(IImage* image, const Rect<int>& destination, Angle angle,
                                  const sDrawState& state) override
    {
        return Record({RecordedDraw::StretchedRotated, image, 0.0f, 0.0f, destination, angle.GetValue(), state});
    }
    int DrawPrimitive(PrimitiveKind, IImage*, int, const sPrimitiveVertex*, const sDrawState&) override { return 0; }

    std::vector<RecordedDraw> draws;

private:
    int Record(const RecordedDraw& draw)
    {
        draws.push_back(draw);
        return 0;
    }

    Rect<int> mBounds{0, 0, 800, 600};
};

// A node type that draws one image at its place through SceneNode::DrawImage.
class ImageNode : public SceneNode
{
public:
    explicit ImageNode(IImage* image = nullptr) : mImage(image) {}
    void DrawAt(const Vector2<float>& offset) override { DrawImage(mImage, offset, false); }

private:
    IImage* mImage;
};

// A scene mode set up and made the context mode for the test's lifetime.
class SceneFixture : public ::testing::Test
{
public:
    SceneFixture()
    {
        MainLoop::WithinContext(&mode, guard);
        mode.Setup();
        root = mode.GetRootNode();
    }

    // A plain node of the given local bounds under `parent`, added to the mode.
    template <class T = SceneNode>
    T* AddNode(SceneNode* parent, Rect<float> bounds = {}, const char* nodeName = nullptr)
    {
        T* node = new T();
        node->LocalSetLocation(bounds.x, bounds.y);
        node->SetWidth(bounds.width);
        node->SetHeight(bounds.height);
        node->SetNodeName(Label(nodeName));
        if (parent)
            parent->AttachChild(node);
        node->AddToDatabase(&mode);
        return node;
    }

    // Whether the node is still a live object of the mode.
    bool Alive(const SceneNode* node, ObjectID id) const { return mode.GetObject(id) == node; }

    SceneApplicationMode mode;
    MainLoop::AutoContext guard;
    SceneNode* root = nullptr;
};

} // namespace SceneTesting
