#include "scene/NodeResources.h"

#include "core/AttributeContainer.h"
#include "core/Log.h"

#include <cmath>

#include <mutex>
#include <set>
#include <string>

namespace Strata
{

float FiniteLayoutAttribute(const IAttributeContainer& element, const wchar_t* name, float defaultValue)
{
    const float value = element.GetAttribute(name, defaultValue);
    return std::isfinite(value) ? value : defaultValue;
}

void ReportMissingNodeResource(const char* nodeType, const char* kind, Label name)
{
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::string key = std::string(nodeType) + ": " + kind + " \"" + name.c_str() + "\" not found";
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!reported.insert(key).second)
            return;
    }
    Log((key + "\n").c_str());
}

} // namespace Strata
