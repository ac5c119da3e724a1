#pragma once

#include "scene/SceneApplicationMode.h"

namespace Yardcrew
{

// Who made what: the credits drawn from data/LICENSES, over the menus' music. "BackButton" closes it.
class CreditsMode : public Strata::SceneApplicationMode
{
public:
    void Setup() override;
    void Enter() override;
    void ReceiveMessage(const Strata::ObjectMessage& message) override;

private:
    Strata::SceneNode* mScreen = nullptr; // owned by the root node
    bool mClosing = false;
};

} // namespace Yardcrew
