#include "game/LevelProgression.h"

#include "core/XMLReader.h"
#include "framework/ResourceDescriptor.h"

#include <memory>

namespace Yardcrew
{

Strata::IResourceDescriptor*
LevelProgressionResourceFactory::CreateResource(const std::wstring& manifest, Strata::Label name,
                                                const Strata::IAttributeContainer& attributes,
                                                Strata::IXMLReader& element) const
{
    auto story = std::make_unique<Strata::ResourceWrapper<LevelProgressionData>>(manifest, name, attributes);
    element.ReadElement(); // the "LevelProg" element itself
    while (!element.IsEOF())
    {
        const Strata::XMLElement* step = element.ReadElement();
        if (step == nullptr)
            break;
        if (!step->IsStartElement())
            continue;
        LevelProgressionEntry entry;
        const std::wstring& tag = step->GetName();
        if (tag == L"Level")
        {
            entry.type = LevelProgressionEntry_Level;
            entry.name = Strata::Label::FromString(step->GetAttribute(L"gameType"));
            if (step->HasAttribute(L"levelID"))
                entry.levelID = Strata::Label::FromString(step->GetAttribute(L"levelID"));
        }
        else if (tag == L"Cutscene")
        {
            entry.type = LevelProgressionEntry_Cutscene;
            entry.name = Strata::Label::FromString(step->GetAttribute(L"cutsceneID"));
        }
        else if (tag == L"Video")
        {
            entry.type = LevelProgressionEntry_Video;
            entry.name = Strata::Label::FromString(step->GetAttribute(L"videoID"));
        }
        else
        {
            continue;
        }
        story->entries.push_back(entry);
    }
    return story.release();
}

} // namespace Yardcrew
