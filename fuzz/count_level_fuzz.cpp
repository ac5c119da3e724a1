// Feeds arbitrary bytes to the counting game's level reader as one level element: whatever it reads,
// a level that passes its checks is one the game can play (one to five piles, every number shown by
// a frame of its list, one pile equal to the request), and nothing else is filed.

#include "FuzzSupport.h"

#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "game/CountTheMaterials/CountTheMaterialsLevel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

using namespace Yardcrew;

using namespace Strata;
using Strata::Fuzzing::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ReadOnlyMemoryStream stream(L"level.xml", data, size);
    XMLElementList elements;
    try
    {
        std::unique_ptr<IXMLReader> reader = CreateXMLReader(&stream);
        CopyAllElements(*reader, &elements);
    }
    catch (const std::exception&)
    {
        // A damaged document still hands over what was read before the damage.
    }
    if (elements.GetElements().empty())
        return 0;
    const XMLElement first = elements.GetElements().front();

    const CountTheMaterialsLevelResourceFactory factory;
    std::unique_ptr<IResourceDescriptor> made(factory.CreateResource(L"fuzz", Label("FuzzLevel"), first, elements));
    const auto* level = dynamic_cast<const CountTheMaterialsLevel*>(made.get());
    Check(level != nullptr);
    Check(level->piles.size() <= kCountTheMaterialsMaxPiles + 1);
    if (level->Validate().empty())
    {
        Check(!level->piles.empty() && level->piles.size() <= kCountTheMaterialsMaxPiles);
        for (const MaterialData& pile : level->piles)
        {
            Check(pile.material >= 0 && pile.material < BuildingMaterial_Count);
            Check(pile.number >= 1 && pile.number <= kCountTheMaterialsMaxItems);
        }
        Check(std::any_of(level->piles.begin(), level->piles.end(),
                          [level](const MaterialData& pile) { return level->IsRequested(pile); }));
    }
    return 0;
}
