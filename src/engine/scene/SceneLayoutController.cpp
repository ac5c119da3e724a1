#include "scene/SceneLayoutController.h"

#include "framework/ObjectDatabase.h"
#include "scene/SceneNode.h"

namespace Strata
{

SceneLayoutController::SceneLayoutController() = default;

SceneLayoutController::~SceneLayoutController() = default;

bool SceneLayoutController::AddToScene(ObjectDatabase* db, SceneNode* parent)
{
    if (db == nullptr || mDatabase != nullptr)
    {
        return false;
    }
    SceneTreePtr tree = GetLayoutNode();
    if (!tree)
    {
        return false;
    }
    db->AddObject(this);
    mDatabase = db;
    tree->setLayoutController(this);
    try
    {
        tree->AddToDatabase(db);
    }
    catch (...)
    {
        // Part of the tree may belong to the database already: deleting it here would free those
        // nodes twice, so the rest is left to leak instead.
        (void)tree.release();
        throw;
    }
    SceneNode* node = tree.release();
    mNode = node->GetID();
    if (parent != nullptr)
    {
        parent->AttachChild(node);
    }
    AddedToScene();
    return true;
}

bool SceneLayoutController::AddToCurScene(SceneNode* parent)
{
    return AddToScene(GetObjectDatabase(), parent);
}

SceneNode* SceneLayoutController::GetNode() const
{
    return mDatabase != nullptr ? dynamic_cast<SceneNode*>(mDatabase->GetObject(mNode)) : nullptr;
}

void SceneLayoutController::OnLayoutNodeDestroyed()
{
    mNode = kInvalidObjectID;
    if (mDatabase != nullptr)
    {
        mDatabase->DestroyObject(GetID());
    }
}

void SceneLayoutController::ReceiveMessage(const ObjectMessage& message)
{
    // Only the database's own "Remove", sent once the controller is marked destroyed, ends it.
    if (message.GetName() != GetRemoveMessageName() || mEnded || mDatabase == nullptr ||
        mDatabase->IsValidObjectID(GetID()))
    {
        return;
    }
    mEnded = true;
    ControllerDestroyed();
    if (SceneNode* node = GetNode())
    {
        node->setLayoutController(nullptr);
        mDatabase->DestroyObject(node->GetID());
    }
    mNode = kInvalidObjectID;
    controllerDestroyedSignal(this);
}

} // namespace Strata
