#pragma once

// The hammering game's description for the mini-game base, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

const sMiniGameDescription& HammerTheNailDescription();

} // namespace Yardcrew
