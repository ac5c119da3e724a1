#pragma once

// The job-order game's description for the mini-game base and its registration, said once.

namespace Yardcrew
{

struct sMiniGameDescription;

const sMiniGameDescription& PlanAJobDescription();
// Registers the game (GameRegistry.h).
void RegisterPlanAJob();

} // namespace Yardcrew
