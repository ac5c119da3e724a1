#pragma once

#include "controls/ControlObject.h"
#include "controls/ObjectFactory.h"
#include "core/Color.h"
#include "core/Rect.h"

#include <cstdint>
#include <list>
#include <memory>

namespace Strata
{

class IImageList;
class TreeNode;

// An ordered set of child nodes that it owns: removing them or destroying the container deletes each
// one, and each deletes its own children in turn.
class TreeNodeContainer
{
public:
    TreeNodeContainer() = default;
    virtual ~TreeNodeContainer();
    TreeNodeContainer(const TreeNodeContainer&) = delete;
    TreeNodeContainer& operator=(const TreeNodeContainer&) = delete;

    // Appends a child and takes it over. A null node is ignored.
    void AddNode(std::unique_ptr<TreeNode> node);
    // The child at the position; null when the index is not below the number of children.
    TreeNode* GetNode(uint32_t index) const;
    // Deletes every child, then empties the list.
    void RemoveAllNodes();
    // The number of all nodes below the container, at every depth.
    uint32_t GetFlattenedNodeCount() const;
    // The node at the position in depth-first pre-order (each child, then all its descendants, before
    // the next child); null past the end.
    TreeNode* GetFlattenedNode(uint32_t index) const;

private:
    friend class TreeObject;

    std::list<TreeNode*> mChildren;
};

// A node drawn by its owner, who derives its own kind. Its indentation level is set by the owner, not
// derived from its depth; its selected flag only by the tree's selection.
class TreeNode : public TreeNodeContainer
{
public:
    TreeNode() = default;
    ~TreeNode() override;

    // The height of the node's row.
    virtual float GetHeight() const = 0;
    // Draws the node into its row with the current draw state, which is clipped to the row.
    virtual void Draw(const Rect<float>& rect) = 0;

    int32_t GetLevel() const { return mLevel; }
    void SetLevel(int32_t level) { mLevel = level; }
    bool IsSelected() const { return mSelected; }

private:
    friend class TreeObject;

    int32_t mLevel = 0;
    bool mSelected = false;
};

// A tree view (layout type "tree") in a nine-slice frame: one indented, owner-drawn row per node in
// depth-first order from the top node on. A click on a row selects its node and broadcasts
// "TreeSelectionChange" with the tree's identifier as the sender. It needs a frame of nine images and
// a font before it draws or answers clicks; without them it is reported once and does neither.
class TreeObject : public ControlObject, public TreeNodeContainer
{
public:
    explicit TreeObject(Label name);
    ~TreeObject() override;

    // The bounds less the frame: image 3's width on the left, image 5's on the right, image 1's height
    // at the top and images 1's and 7's heights off the height. The bounds themselves without images.
    Rect<float> GetInteriorRect() const;

    // Marks the node selected and every other node of the tree, at every depth, not; a null or foreign
    // node clears the selection. Broadcasts "TreeSelectionChange" on every call, also when nothing
    // changes.
    void SelectNode(const TreeNode* node);

    // Selects the node of the row under the point when the point lies in the interior. The tree does
    // not take the focus. Handled when a row is hit.
    MessageResult OnMouseDown(MouseButton button, int x, int y) override;
    // The frame, then each row clipped to itself and to the interior; rows below the interior are not
    // drawn.
    void Draw() override;

    void SetImages(ImageListHandle images) { mImages = std::move(images); }
    const IImageList* GetImages() const { return mImages; }
    // The depth-first position of the first node shown; the tree never changes it itself.
    uint32_t GetTopNode() const { return mTopNode; }
    void SetTopNode(uint32_t index) { mTopNode = index; }
    float GetIndent() const { return mIndent; }
    void SetIndent(float indent) { mIndent = indent; }
    const ColorF& GetSelectedTextColor() const { return mSelectedTextColor; }
    void SetSelectedTextColor(const ColorF& color) { mSelectedTextColor = color; }
    const ColorF& GetSelectedBackgroundColor() const { return mSelectedBackgroundColor; }
    void SetSelectedBackgroundColor(const ColorF& color) { mSelectedBackgroundColor = color; }

private:
    static void SelectNodeInternal(const TreeNodeContainer& container, const TreeNode* node);
    // True with a full frame and a font; otherwise reports what is missing, once.
    bool IsReady();
    // Calls `visit(node, row)` for each row from the top node on, in order, while the row starts above
    // the interior's bottom and until `visit` returns true.
    template <class Visit>
    void ForEachRow(Visit&& visit) const;

    ImageListHandle mImages;
    uint32_t mTopNode = 0;
    float mIndent = 10.0f;
    ColorF mSelectedTextColor{1.0f, 1.0f, 1.0f, 1.0f};
    ColorF mSelectedBackgroundColor{0.0f, 0.0f, 0.0f, 1.0f};
    bool mReportedNotReady = false;
};

// Reads "images" (an image list resource), "textColor" (the control's colour), "selectedTextColor" and
// "selectedBackgroundColor", each only when present. A name that finds no image list leaves none.
class TreeObjectFactory : public IObjectFactory
{
public:
    Object* CreateObject(Label name, const IAttributeContainer& attributes) override;
};

} // namespace Strata
