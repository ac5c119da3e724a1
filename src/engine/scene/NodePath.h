#pragma once

#include "core/Label.h"

#include <span>
#include <string>
#include <variant>

namespace Strata
{

class SceneNode;

// Ends a node path.
struct NodePathTerminator
{
    bool operator==(const NodePathTerminator&) const = default;
};

// One step of a node path: the child at an index of the parent's children (0 is the first, drawn
// first), or the child filed under a nodeName (matched without regard to letter case), or the end.
class NodePathStep
{
public:
    using Value = std::variant<int, Label, const char*, std::string, std::wstring, NodePathTerminator>;

    NodePathStep(NodePathTerminator terminator = NodePathTerminator()) : mValue(terminator) {}
    NodePathStep(int index) : mValue(index) {}
    NodePathStep(Label name) : mValue(name) {}
    NodePathStep(const char* name) : mValue(name) {}
    NodePathStep(std::string name) : mValue(std::move(name)) {}
    NodePathStep(std::wstring name) : mValue(std::move(name)) {}
    NodePathStep(const wchar_t* name) : mValue(name ? std::wstring(name) : std::wstring()) {}

    const Value& GetValue() const { return mValue; }
    bool IsTerminator() const { return std::holds_alternative<NodePathTerminator>(mValue); }

private:
    Value mValue;
};

// A node path: steps ending with a terminator, written once as a constant array, for example
//   const NodePathStep kPlayfield[] = {"GameScreenRoot", "Playfield", NodePathTerminator()};
using NodePath = std::span<const NodePathStep>;

// Resolves one step below `node`.
class NodePathVisitor
{
public:
    explicit NodePathVisitor(SceneNode* node) : mNode(node) {}

    // A negative index, or one past the last child, gives null.
    SceneNode* operator()(int index) const;
    SceneNode* operator()(Label name) const;
    SceneNode* operator()(const char* name) const;
    SceneNode* operator()(const std::string& name) const;
    // Narrowed to ASCII first.
    SceneNode* operator()(const std::wstring& name) const;
    SceneNode* operator()(NodePathTerminator) const { return nullptr; }

private:
    SceneNode* mNode;
};

// The node reached by `path` from the root of the current scene; null when a step fails or when the
// current mode is not a scene mode. A path that begins with its terminator gives the root.
SceneNode* RootDescendent(NodePath path);

// RootDescendent as the node type T; null when the node is missing or of another type.
template <class T>
T* RootDescendent(NodePath path)
{
    return dynamic_cast<T*>(RootDescendent(path));
}

} // namespace Strata
