// The window's events and their handlers: they carry values between the controls and the
// launch state, the settings file, the mod list and the host lookup.
#pragma once

#include <windows.h>

#include <string>

#include "window/form.hpp"

namespace zarvell {

void onCreated();
void onWindowedClicked();
void onSkipMoviesClicked();
void onIpHelperClicked();
void onLaunchClicked();
void onModSelected();
void onHostSelected();
// A host lookup has answered (wParam of kHostLookedUpMessage): shows the address when it
// belongs to the latest choice.
void onHostLookedUp(WPARAM number);

// The command line a click of the launch button would start right now. Changes nothing.
std::string previewLaunchCommand();

// Runs the handler bound to (control, notification), if there is one.
void dispatchControlEvent(ControlId control, UINT notification);

}  // namespace zarvell
