// Feeds arbitrary bytes to the hammering game's level reader as one level element: whatever it reads,
// a level that passes its checks is one the game can play (a box of one to four known tools holding
// every tool a nail needs, every stroke count shown by the art, at least one stroke to make), and
// nothing else is filed.

#include "FuzzSupport.h"

#include "core/Label.h"
#include "core/MemoryStream.h"
#include "core/XMLElement.h"
#include "core/XMLReader.h"
#include "game/HammerTheNail/HammerTheNailLevel.h"

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

    const HammerTheNailLevelResourceFactory factory;
    std::unique_ptr<IResourceDescriptor> made(factory.CreateResource(L"fuzz", Label("FuzzLevel"), first, elements));
    const auto* level = dynamic_cast<const HammerTheNailLevel*>(made.get());
    Check(level != nullptr);
    Check(level->nails.size() <= kHammerTheNailMaxNails + 1 && level->extraTools.size() <= kHammerTheNailMaxTools + 1);
    if (!level->Validate().empty())
        return 0;
    const std::vector<FixItTool> box = level->Tools();
    Check(!box.empty() && box.size() <= kHammerTheNailMaxTools);
    for (const FixItTool& tool : box)
        Check(tool.type >= 0 && tool.type < FixItToolType_Count && tool.color >= 0 &&
              tool.color < FixItToolColor_Count);
    Check(std::any_of(level->nails.begin(), level->nails.end(),
                      [](const NailData& nail) { return nail.clickCount > 0; }));
    for (const NailData& nail : level->nails)
    {
        Check(nail.clickCount >= 0 && nail.clickCount <= kHammerTheNailMaxStrokes);
        Check(std::find(box.begin(), box.end(), nail.Tool()) != box.end());
    }
    return 0;
}
