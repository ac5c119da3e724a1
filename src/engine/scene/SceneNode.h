#pragma once

#include "core/Angle.h"
#include "core/Color.h"
#include "core/Label.h"
#include "core/Rect.h"
#include "core/Vector2.h"
#include "framework/InputEvent.h"
#include "framework/Object.h"
#include "framework/ObjectInterfaces.h"
#include "graphics/DrawState.h"
#include "scene/LazySignal.h"
#include "scene/NodePath.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <span>

namespace Strata
{

class IImage;
class ObjectDatabase;
class SceneLayoutController;
class SceneNode;

// Placement and look of a node: either its own (local) values or those derived down the tree (global).
class NodeAttributes
{
public:
    NodeAttributes() = default;
    NodeAttributes(const Rect<float>& bounds, bool visible, const ColorF& color, const Vector2<float>& scale,
                   Angle orientation);

    // These attributes as local ones under a parent with `parentGlobal`: locations add, the size stays
    // unscaled, visibility and alpha multiply, the colour's red, green and blue stay the node's own,
    // scales multiply and orientations add.
    NodeAttributes combineWith(const NodeAttributes& parentGlobal) const;

    Rect<float> bounds;
    bool visible = true;
    ColorF color{1.0f, 1.0f, 1.0f, 1.0f};
    Vector2<float> scale{1.0f, 1.0f};
    Angle orientation;
};

// Which parts of a node's local attributes changed since its last refresh.
enum eNodeDirtyFlags : uint32_t
{
    NodeDirty_Placement = 1, // location, size, anchoring
    NodeDirty_Visibility = 2,
    NodeDirty_Color = 4, // colour and alpha
    NodeDirty_Scale = 8,
    NodeDirty_Orientation = 16,
    NodeDirty_All = 31
};

// The base of every node of the scene graph: a database object with a place in a tree, local and
// derived global attributes, anchoring inside the parent, hit testing and input signals.
//
// A node does not own its children in memory: every node of a scene is an object of the mode's
// database, which deletes it. Removing a node from its database ("Remove") detaches it, destroys its
// children and its layout controller through the database, then fires destroyedSignal; the destructor
// fires nothing and touches no other node. A node kept outside any database belongs to its creator,
// who detaches it before deleting it.
//
// Positions of children are translated by their parent only, never rotated or scaled by it. Main
// thread only.
class SceneNode : public Object, public InputHandlerComponent
{
public:
    // Where the node's rectangle sits inside its parent's: the point of the parent's local size named
    // by the parent alignments, on which the point of the node's own size named by the self
    // alignments sits. All left and top by default.
    struct NodeAttachParams
    {
        HAlignment parentHAlign = HAlignment_Left;
        VAlignment parentVAlign = VAlignment_Top;
        HAlignment selfHAlign = HAlignment_Left;
        VAlignment selfVAlign = VAlignment_Top;

        bool operator==(const NodeAttachParams&) const = default;
    };

    using NodeSignal = LazySignal<void(SceneNode*)>;
    using MouseSignal = LazySignal<void(SceneNode*, MouseButton, int, int)>;
    using KeySignal = LazySignal<void(SceneNode*, int)>;

    explicit SceneNode(Label name = Label());
    SceneNode(const SceneNode&) = delete;
    SceneNode& operator=(const SceneNode&) = delete;
    ~SceneNode() override;

    // Object
    Label GetName() const override;
    // Answers the database's "Remove" (the node's end, see the class comment); "Add" remembers the
    // database; other messages are ignored.
    void ReceiveMessage(const ObjectMessage& message) override;

    // The message sender's name, filed by the database when the node is added: set it before then.
    void SetName(Label name) { mName = name; }
    // The key under which the parent finds this child in node paths. Renaming an attached node
    // refiles it in its parent.
    Label GetNodeName() const { return mNodeName; }
    void SetNodeName(Label nodeName);

    // The database that holds the node (remembered by AddToDatabase and on "Add"); null before then.
    // Node types create the objects they own there, never in their constructors.
    ObjectDatabase* GetDatabase() const { return mDatabase; }

    // Input, answered through the signals; see the source for the exact rules.
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    MessageResult OnMouseUp(MouseButton button, int x, int y) override;
    MessageResult OnKeyDown(int key) override;
    MessageResult OnKeyUp(int key) override;
    bool CanFocus() override;
    // True when mouseEnterSignal or mouseExitSignal has a slot.
    virtual bool HandlesMouseEnterExit();
    virtual void OnMouseEnter();
    virtual void OnMouseExit();

    // Whether a global point hits the node; by default GlobalBoundsContains. Node types override it
    // with their alpha test.
    virtual bool GlobalPointIntersects(const Vector2<float>& point);
    // Draws the node at its place moved by `offset`; the base draws nothing. Each node type decides
    // about visibility itself.
    virtual void DrawAt(const Vector2<float>& offset);

    // Hooks, empty by default. NodeDestroyed runs while the node handles "Remove", before
    // destroyedSignal.
    virtual void NodeDestroyed();
    virtual void ChildNodeAttached(SceneNode* child);
    virtual void ChildNodeDetached(SceneNode* child);
    virtual void ParentNodeChanged(SceneNode* newParent);

    // Local setters: each stores and marks its dirty bit; nothing is refreshed until read.
    void LocalSetLocation(const Vector2<float>& location);
    void LocalSetLocation(float x, float y);
    void SetWidth(float width);
    void SetHeight(float height);
    void SetNodeAttachParams(const NodeAttachParams& params);
    void LocalSetVisible(bool visible);
    void LocalSetColor(const ColorF& color);
    void LocalSetAlpha(float alpha);
    void LocalSetScale(const Vector2<float>& scale);
    void LocalSetOrientation(Angle orientation);
    void LocalSetFlipH(bool flip) { flipH = flip; }
    void SetRotateAlignment(HAlignment hAlign, VAlignment vAlign);
    void SetScaleAlignment(HAlignment hAlign, VAlignment vAlign);

    // Local getters: the stored values.
    const NodeAttributes& GetLocalAttributes() const { return mLocal; }
    const Rect<float>& LocalGetBounds() const { return mLocal.bounds; }
    Vector2<float> LocalGetLocation() const { return Vector2<float>(mLocal.bounds.x, mLocal.bounds.y); }
    Vector2<float> LocalGetLocationCenter() const;
    float GetWidth() const { return mLocal.bounds.width; }
    float GetHeight() const { return mLocal.bounds.height; }
    bool LocalIsVisible() const { return mLocal.visible; }
    const ColorF& LocalGetColor() const { return mLocal.color; }
    float LocalGetAlpha() const { return mLocal.color.a; }
    const Vector2<float>& LocalGetScale() const { return mLocal.scale; }
    Angle LocalGetOrientation() const { return mLocal.orientation; }
    bool LocalGetFlipH() const { return flipH; }
    const NodeAttachParams& GetNodeAttachParams() const { return mAttachParams; }
    HAlignment GetRotateHAlign() const { return mRotateHAlign; }
    VAlignment GetRotateVAlign() const { return mRotateVAlign; }
    HAlignment GetScaleHAlign() const { return mScaleHAlign; }
    VAlignment GetScaleVAlign() const { return mScaleVAlign; }
    uint32_t GetDirtyFlags() const { return mDirtyFlags; }

    // Global getters: each first refreshes the stale part of the tree above the node.
    const Rect<float>& GlobalGetBounds();
    bool GlobalIsVisible();
    const ColorF& GlobalGetColor();
    const Vector2<float>& GlobalGetScale();
    Angle GlobalGetOrientation();
    // Local size times global scale.
    float GetScaledWidth();
    float GetScaledHeight();
    // Left and top edges inside, right and bottom outside, on the unscaled global bounds.
    bool GlobalBoundsContains(float x, float y);
    // The union of the global bounds of the node and all its descendants.
    Rect<float> GetCompositeBounds();

    // Between the parent's frame (in which the node's location is given) and the screen.
    Vector2<float> LocalToGlobalPoint(const Vector2<float>& point);
    Vector2<float> GlobalToLocalPoint(const Vector2<float>& point);
    // The offset's components truncated toward zero.
    Vector2<int> GlobalToLocalPoint(const Vector2<int>& point);

    // Tree. Attaching a child already under this node keeps its place; a child under another parent
    // is detached there first. The new child goes on top (drawn last). Attaching a node to itself or
    // to one of its own descendants is refused (it would make a loop), and so is attaching to or
    // attaching a node that has already been removed from its database (it is about to be deleted).
    void AttachChild(SceneNode* child);
    // Then stores the params in the child and marks its placement dirty.
    void AttachChild(SceneNode* child, const NodeAttachParams& params);
    void DetachFromParent();
    // Puts the node first in its parent's children (drawn first, under its siblings).
    void MoveToBottomOfParent();
    // Reorders the children by `before` with a stable sort: equal children keep their drawing order.
    template <class Compare>
    void SortChildren(Compare before)
    {
        mChildren.sort(before);
    }
    SceneNode* GetParent() const { return mParent; }
    // First drawn first.
    const std::list<SceneNode*>& GetChildren() const { return mChildren; }
    size_t GetChildCount() const { return mChildren.size(); }

    // Adds the node's subtree to `db`, children before their parents, and remembers the database in
    // each node. A null database does nothing. When the database is full it throws its RuntimeError;
    // the nodes added before then stay in it, the others are left to the caller.
    void AddToDatabase(ObjectDatabase* db);

    // The controller that owns this tree (not owned). The controller passes itself: its class must be
    // complete where it calls this. When the node is removed it forgets the controller and destroys it
    // through the database, touching it no further; the controller's own end may still reach this
    // node, which stays in memory until the database's next purge (its DestroySelf is then a no-op).
    template <class Controller>
    void setLayoutController(Controller* controller)
    {
        mLayoutController = controller;
        mLayoutControllerObject = controller;
    }
    void setLayoutController(std::nullptr_t)
    {
        mLayoutController = nullptr;
        mLayoutControllerObject = nullptr;
    }
    SceneLayoutController* GetLayoutController() const { return mLayoutController; }

    // Refreshes this node's global attributes from its parent's global ones.
    void UpdateNode();
    // UpdateNode on the node, then on every descendant, parents before children.
    void UpdateScene();
    // DrawNode on the node, then on every descendant, parents first, children in list order. Nodes
    // that user code detaches or destroys during the walk are not visited.
    void DrawScene();
    void DrawNode();
    // Fires drawSignal, then DrawAt(offset).
    void DrawNode(const Vector2<float>& offset);
    // Draws an image at the node's global place moved by `position`, tinted by the global colour,
    // clipped, flipped, scaled about the scale pivot and turned about the rotation pivot. A null
    // image draws nothing.
    void DrawImage(const IImage* image, const Vector2<float>& position, bool snapToPixel);

    // The top-most hit-testable, globally visible node of the subtree under the global point: the
    // children from last to first, each subtree before its node, the node itself last. Null when
    // nothing is hit.
    SceneNode* GetDescendentAtLocation(const Vector2<float>& point);

    // Capture and focus are held by the scene mode of the node's database (or else of the current
    // database); without a scene mode they do nothing and the Has forms answer false.
    void Capture();
    // Only when this node holds the capture.
    void ReleaseCapture();
    bool HasCapture();
    void Focus();
    bool HasFocus();

    // The child filed under the nodeName (the first attached of several), or null.
    SceneNode* GetChildByNodeName(Label nodeName) const;
    // Node paths. The direct child that the step names, or null.
    SceneNode* GetChild(const NodePathStep& step);
    // The node reached by the steps of `path`, up to its terminator or its end; null when a step fails.
    SceneNode* GetDescendent(std::span<const NodePathStep> path);

    NodeSignal destroyedSignal;
    NodeSignal drawSignal;
    MouseSignal mouseDownSignal;
    MouseSignal mouseUpSignal;
    NodeSignal mouseEnterSignal;
    NodeSignal mouseExitSignal;
    MouseSignal captureMouseDownSignal;
    MouseSignal captureMouseUpSignal;
    KeySignal keyDownSignal;
    KeySignal keyUpSignal;

    // Settings that node types, layouts and game code set directly.
    // Takes part in hit tests at all.
    bool hitTest = false;
    // Bit 1 << button for each mouse button whose down and up signals fire.
    uint32_t mouseButtons = 1;
    // Applied while the node draws an image, when clipEnabled.
    Rect<int> clipRect;
    bool clipEnabled = false;
    bool flipH = false;
    bool flipV = false;

protected:
    // The node's own global attributes as last refreshed, without refreshing.
    const NodeAttributes& GetCachedGlobalAttributes() const { return mGlobal; }
    // Refreshes the part of the tree the given dirty bits make stale; see the source.
    void RefreshIfDirty(uint32_t bits);
    // Offsets of the scaled image inside the node's rectangle and of the rotation pivot.
    Vector2<float> GetScaledDrawOffset();
    Vector2<float> GetRotatedDrawOffset();

private:
    bool HitTestInternal(const Vector2<float>& point);
    bool IsAncestorOf(const SceneNode* node) const;
    MessageResult HandleMouseButton(MouseSignal& hitSignal, MouseSignal& captureSignal, MouseButton button, int x,
                                    int y);
    void HandleRemove();
    void RefileName(Label oldName);

    Label mName;
    Label mNodeName;
    SceneNode* mParent = nullptr;
    std::list<SceneNode*> mChildren;
    std::list<SceneNode*>::iterator mPositionInParent;
    std::map<Label, SceneNode*> mChildrenByNodeName;
    SceneLayoutController* mLayoutController = nullptr;
    Object* mLayoutControllerObject = nullptr;
    ObjectDatabase* mDatabase = nullptr;
    NodeAttributes mLocal;
    NodeAttributes mGlobal;
    NodeAttachParams mAttachParams;
    uint32_t mDirtyFlags = 0;
    // Set once the node has handled "Remove": it then joins no tree again.
    bool mRemoved = false;
    HAlignment mRotateHAlign = HAlignment_Center;
    VAlignment mRotateVAlign = VAlignment_Middle;
    HAlignment mScaleHAlign = HAlignment_Center;
    VAlignment mScaleVAlign = VAlignment_Middle;
};

// Attach params with chainable setters.
class NodeAttachNPI : public SceneNode::NodeAttachParams
{
public:
    NodeAttachNPI() = default;
    NodeAttachNPI(const SceneNode::NodeAttachParams& params) : SceneNode::NodeAttachParams(params) {}

    // All four alignments centre and middle.
    NodeAttachNPI& CenterOnParent();
    NodeAttachNPI& ParentAlign(HAlignment hAlign, VAlignment vAlign);
    NodeAttachNPI& SelfAlign(HAlignment hAlign, VAlignment vAlign);
};

} // namespace Strata
