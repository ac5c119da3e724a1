#pragma once

#include "framework/ObjectDatabase.h"

namespace Strata
{

// One screen or state on the main loop's mode stack, and the object database of its objects.
// Created by its caller and owned by the main loop once pushed: Setup once, then Enter and Exit
// each time it becomes or stops being the top mode, then Destroy and deletion.
class ApplicationMode : public ObjectDatabase
{
public:
    ApplicationMode() = default;
    ~ApplicationMode() override;

    // Input, Update and Draw are the database's own unless a mode overrides them.

    // Once, when pushed, with this mode as the context mode.
    virtual void Setup();
    // Once, when popped and before deletion, with this mode as the context mode.
    virtual void Destroy();
    // Each time it becomes the top mode.
    virtual void Enter();
    // Each time it stops being the top mode, and before it is popped.
    virtual void Exit();
    // A mode that is not opaque has the modes below it drawn first.
    virtual bool IsOpaque();
    // Drawn between the modes below and this one when this is a top mode that is not opaque.
    virtual void DrawBackground();
    virtual ObjectDatabase* GetObjectDatabase();
};

} // namespace Strata
