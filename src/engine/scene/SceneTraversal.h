#pragma once

#include "framework/ObjectDatabase.h"
#include "framework/ObjectID.h"
#include "scene/SceneNode.h"

#include <utility>
#include <vector>

namespace Strata
{

// Walks of a node tree that run user code (signals, hooks, input handlers) at every node. Each walk
// takes a snapshot of a node's children when it reaches the node, and before visiting a child checks
// that it is still attached to the same parent and, when it belongs to a database, still alive there:
// user code may detach, move or destroy nodes during the walk, and such nodes are skipped.
namespace SceneTraversal
{

struct Entry
{
    SceneNode* node = nullptr;
    SceneNode* parent = nullptr;
    ObjectDatabase* database = nullptr;
    ObjectID id;
};

inline Entry MakeEntry(SceneNode* node, SceneNode* parent)
{
    return Entry{node, parent, node->GetDatabase(), node->GetID()};
}

// The node of a database is looked up by identifier before it is touched: a destroyed one is
// skipped. A node outside any database belongs to its creator and is trusted to be alive.
inline bool IsStillThere(const Entry& entry)
{
    if (entry.database && !entry.id.IsInvalid() && entry.database->GetObject(entry.id) != entry.node)
        return false;
    return entry.node->GetParent() == entry.parent;
}

// A walk's stack, lent from one kept per thread and given back with the room it grew: a still screen
// walks its scene twice a step, which then reaches the heap no more. A walk inside a walk finds the
// spare lent out and makes its own.
template <class T>
class SpareStack
{
public:
    SpareStack() : mStack(std::move(Spare())) { mStack.clear(); }
    ~SpareStack()
    {
        if (mStack.capacity() > Spare().capacity())
        {
            mStack.clear();
            Spare() = std::move(mStack);
        }
    }
    SpareStack(const SpareStack&) = delete;
    SpareStack& operator=(const SpareStack&) = delete;
    std::vector<T>& Get() { return mStack; }

private:
    static std::vector<T>& Spare()
    {
        thread_local std::vector<T> spare;
        return spare;
    }
    std::vector<T> mStack;
};

} // namespace SceneTraversal

// Parents before children, children in list order (the drawing order).
struct TopDownSceneTraversal
{
    template <class Visit>
    static void Traverse(SceneNode* root, Visit&& visit)
    {
        if (!root)
            return;
        SceneTraversal::SpareStack<SceneTraversal::Entry> stack;
        std::vector<SceneTraversal::Entry>& pending = stack.Get();
        pending.push_back(SceneTraversal::MakeEntry(root, root->GetParent()));
        while (!pending.empty())
        {
            const SceneTraversal::Entry entry = pending.back();
            pending.pop_back();
            if (!SceneTraversal::IsStillThere(entry))
                continue;
            visit(entry.node);
            if (!SceneTraversal::IsStillThere(entry))
                continue;
            const auto& children = entry.node->GetChildren();
            for (auto it = children.rbegin(); it != children.rend(); ++it)
                pending.push_back(SceneTraversal::MakeEntry(*it, entry.node));
        }
    }
};

// The reverse of the drawing order: for each node its children from last to first, each child's
// subtree before the child, the node itself last. Stops at the first node for which `visit` answers
// true, and then answers true. One stack, the thread's spare, serves the whole walk: it runs on every
// pointer move over scenes of hundreds of nodes.
struct BottomUpSceneTraversal
{
    template <class Visit>
    static bool TraverseUntil(SceneNode* root, Visit&& visit)
    {
        if (!root)
            return false;
        // A node is expanded (its children's snapshot pushed above it) when it first comes to the top,
        // and visited when it comes there again, after its whole subtree.
        struct sPending
        {
            SceneTraversal::Entry entry;
            bool expanded = false;
        };
        SceneTraversal::SpareStack<sPending> stack;
        std::vector<sPending>& pending = stack.Get();
        pending.push_back({SceneTraversal::MakeEntry(root, root->GetParent())});
        while (!pending.empty())
        {
            if (!pending.back().expanded)
            {
                if (!SceneTraversal::IsStillThere(pending.back().entry))
                {
                    pending.pop_back();
                    continue;
                }
                SceneNode* node = pending.back().entry.node;
                if (node->GetChildCount() == 0)
                {
                    // Nothing ran since the check: the node is visited at once.
                    pending.pop_back();
                    if (visit(node))
                        return true;
                    continue;
                }
                pending.back().expanded = true;
                // Pushed first to last, so the last child comes off first.
                for (SceneNode* child : node->GetChildren())
                    pending.push_back({SceneTraversal::MakeEntry(child, node)});
                continue;
            }
            const SceneTraversal::Entry entry = pending.back().entry;
            pending.pop_back();
            if (SceneTraversal::IsStillThere(entry) && visit(entry.node))
                return true;
        }
        return false;
    }
};

} // namespace Strata
