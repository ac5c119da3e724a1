#pragma once

// The street-signs game's registration and the description its mode reads.

namespace Yardcrew
{

struct sMiniGameDescription;

const sMiniGameDescription& StreetSignsDescription();
void RegisterStreetSigns();

} // namespace Yardcrew
