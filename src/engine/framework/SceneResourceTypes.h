#pragma once

namespace Strata
{

// The scene graph's resource types, held in ResourceWrapper<T> and filled by the scene graph's
// factories. Empty until the scene graph gives them their content; SceneLayout has moved to
// scene/SceneLayout.h.

class SpriteType
{
public:
    SpriteType() = default;
    virtual ~SpriteType() = default;
};

class SpriteAnimationList
{
public:
    SpriteAnimationList() = default;
    virtual ~SpriteAnimationList() = default;
};

} // namespace Strata
