#pragma once

// Checks the node tasks share, at construction and on each update.

#include "core/RuntimeError.h"
#include "scene/SceneNode.h"

#include <memory>
#include <stdexcept>

namespace Strata
{

// The object as a scene node; a RuntimeError (a std::runtime_error) with `message` for anything else.
inline SceneNode* RequireNode(Object* object, const char* message)
{
    auto* node = dynamic_cast<SceneNode*>(object);
    if (!node)
        STRATA_THROW(RuntimeError, std::string(message));
    return node;
}

// The generator itself; a RuntimeError with `message` for a null one.
template <class Generator>
std::shared_ptr<Generator> CheckTarget(std::shared_ptr<Generator> target, const char* message)
{
    if (!target)
        STRATA_THROW(RuntimeError, message);
    return target;
}

} // namespace Strata
