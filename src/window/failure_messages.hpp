// What the player is told when a launch fails: the game could not be started, or the settings
// could not be saved after it. In Chinese like the rest of the window, with the system's own
// reason.
#pragma once

#include <string>

#include "launch/game.hpp"
#include "launch/settings.hpp"

namespace zarvell {

// Which file in which folder, and the system's reason; "" when there is nothing to tell: the
// game started, or the player declined to let it run as administrator.
std::wstring launchFailureMessage(const LaunchResult& result);

// Which file in which folder, the reason, and what the player can do about it; "" when the
// settings were saved.
std::wstring saveFailureMessage(const SaveResult& result);

// Tells what failed of one launch in a message box owned by the main window: the game start,
// and the save, the latter only the first time in a run (a player who cannot make the folder
// writable is not asked again at every launch). Shows nothing when nothing failed.
void tellLaunchOutcome(const LaunchResult& launched, const SaveResult& saved);

}  // namespace zarvell
