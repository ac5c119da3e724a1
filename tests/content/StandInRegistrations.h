#pragma once

// STAND-IN, to be replaced at merge: the registrations of the games' and the menus' content lists
// (game/GameRegistry.h) is being written beside this check. Until
// they land, StandInRegistrations.cpp registers a list of the names the counting game's code is known
// to ask for; at merge this header gives way to the real ones and the .cpp is deleted.

namespace Yardcrew
{

// Registers every game's content list and the game base's shared list; only the first call counts.
void RegisterGames();

} // namespace Yardcrew
