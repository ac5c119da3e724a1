#pragma once

// The fence-painting game's registration and the description its mode reads.

namespace Yardcrew
{

struct sMiniGameDescription;

const sMiniGameDescription& PaintItDescription();
void RegisterPaintIt();

} // namespace Yardcrew
