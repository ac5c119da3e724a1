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
        return false;
    SceneTreePtr tree = GetLayoutNode();
    if (!tree)
        return false;
    db->AddObject(this);
    mDatabase = db;
    tree->setLayoutController(this);
    // Should the database run out of slots part way, the handle frees only the nodes it did not take.
    tree->AddToDatabase(db);
    SceneNode* node = tree.release();
    mNode = node->GetID();
    if (parent != nullptr)
        parent->AttachChild(node);
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

void SceneLayoutController::ReceiveMessage(const ObjectMessage& message)
{
    // Only the database's own "Remove", sent once the controller is marked destroyed, ends it.
    if (message.GetName() != GetRemoveMessageName() || mEnded || mDatabase == nullptr ||
        mDatabase->IsValidObjectID(GetID()))
        return;
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
