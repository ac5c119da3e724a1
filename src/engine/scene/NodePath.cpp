#include "scene/NodePath.h"

#include "scene/SceneApplicationMode.h"
#include "scene/SceneNode.h"

namespace Strata
{

namespace
{

SceneNode* ChildByNodeName(SceneNode* node, Label name)
{
    if (!node || name.IsNull())
        return nullptr;
    return node->GetChildByNodeName(name);
}

} // namespace

SceneNode* NodePathVisitor::operator()(int index) const
{
    if (!mNode || index < 0)
        return nullptr;
    for (SceneNode* child : mNode->GetChildren())
        if (index-- == 0)
            return child;
    return nullptr;
}

SceneNode* NodePathVisitor::operator()(Label name) const
{
    return ChildByNodeName(mNode, name);
}

SceneNode* NodePathVisitor::operator()(const char* name) const
{
    return ChildByNodeName(mNode, Label(name));
}

SceneNode* NodePathVisitor::operator()(const std::string& name) const
{
    return ChildByNodeName(mNode, Label::FromString(name));
}

SceneNode* NodePathVisitor::operator()(const std::wstring& name) const
{
    return ChildByNodeName(mNode, Label::FromString(name));
}

SceneNode* RootDescendent(NodePath path)
{
    SceneNode* root = SceneApplicationMode::GetCurSceneRootNode();
    return root ? root->GetDescendent(path) : nullptr;
}

} // namespace Strata
