#pragma once

#include "framework/Object.h"
#include "framework/ObjectID.h"
#include "scene/SceneNodeFactory.h"

#include <boost/signals2/signal.hpp>

namespace Strata
{

class ObjectDatabase;
class SceneNode;

// A game object that owns one node tree and lives as long as it: AddToScene puts the controller and
// its tree into a database and hangs the tree under a parent; when either the controller or the
// tree's root leaves the database, the other is destroyed too. Derived classes build the tree,
// commonly from a scene layout, and hand it over through GetLayoutNode.
class SceneLayoutController : public virtual Object
{
public:
    SceneLayoutController();
    // Touches neither the tree nor any signal: the database deletes both sides on its own.
    ~SceneLayoutController() override;

    // The tree to add, in no database yet; the controller takes it over. Called once, by AddToScene.
    virtual SceneTreePtr GetLayoutNode() = 0;
    // "Remove" ends the controller (and its tree); other messages are ignored.
    void ReceiveMessage(const ObjectMessage& message) override;
    // Called once when the controller leaves its database, before the tree is told to go.
    virtual void ControllerDestroyed() {}
    // Called once the controller and its tree are in the database and the tree is attached.
    virtual void AddedToScene() {}

    // Adds the controller, then its tree (children first), to `db` and attaches the tree under
    // `parent` when that is not null. Returns false, changing nothing, for a null `db`, for a
    // controller already added, or when GetLayoutNode gives no tree. A database error (all slots in
    // use) passes through; what was added by then stays in the database.
    bool AddToScene(ObjectDatabase* db, SceneNode* parent);
    // AddToScene with the current object database; false when there is none.
    bool AddToCurScene(SceneNode* parent);

    // The root of the tree while it is alive in the database; null before AddToScene and once
    // either side has been destroyed. Held by identifier, so a root destroyed first (which destroys
    // the controller in turn) is simply no longer found.
    SceneNode* GetNode() const;

    // Fired once when the controller leaves its database, after ControllerDestroyed and after the
    // tree was told to destroy itself.
    boost::signals2::signal<void(SceneLayoutController*)> controllerDestroyedSignal;

private:
    ObjectDatabase* mDatabase = nullptr;
    ObjectID mNode;
    bool mEnded = false;
};

} // namespace Strata
