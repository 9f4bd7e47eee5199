#include "window/handlers.hpp"

#include "hosts/host_list.hpp"
#include "hosts/host_lookup.hpp"
#include "launch/game.hpp"
#include "launch/mods.hpp"
#include "launch/settings.hpp"
#include "launch/state.hpp"
#include "window/failure_messages.hpp"
#include "window/main_window.hpp"

namespace zarvell {

namespace {
struct Binding {
    ControlId control;
    UINT notification;
    void (*handler)();
};

// The host drop-down's CBN_SELENDOK is not here: the window defers it (see main_window).
constexpr Binding kBindings[] = {
    {windowedCheck, BN_CLICKED, onWindowedClicked},
    {skipMoviesCheck, BN_CLICKED, onSkipMoviesClicked},
    {ipHelperCheck, BN_CLICKED, onIpHelperClicked},
    {launchButton, BN_CLICKED, onLaunchClicked},
    {modList, LBN_SELCHANGE, onModSelected},
};

HostLookups hostLookups;

// The launch state with the resolution a launch would take from the boxes now.
LaunchState nextLaunchState() {
    LaunchState next = launchState;
    const bool windowed = readCheck(windowedCheck);
    std::string width, height;
    if (windowed) {
        width = readText(widthEdit);
        height = readText(heightEdit);
    }
    next.resolutionSwitch = resolutionSwitchFor(windowed, width, height);
    return next;
}
}  // namespace

std::string previewLaunchCommand() {
    return composeLaunchCommand(nextLaunchState());
}

void dispatchControlEvent(ControlId control, UINT notification) {
    for (const Binding& b : kBindings) {
        if (b.control == control && b.notification == notification) {
            b.handler();
            return;
        }
    }
}

void onCreated() {
    const LaunchSettings settings = loadSettings();
    writeText(widthEdit, settings.widthText);
    writeText(heightEdit, settings.heightText);
    if (settings.windowed)
        writeCheck(windowedCheck, true);
    if (settings.skipMovies)
        writeCheck(skipMoviesCheck, true);
    onWindowedClicked();
    onSkipMoviesClicked();
    onIpHelperClicked();  // unchecked here, so the host panel starts collapsed
    addItems(modList, discoverMods());
    for (const HostEntry& entry : fillHostList(loadHostNamesText())) {
        addItem(hostCombo, entry.text, entry.itemData);
    }
}

void onWindowedClicked() {
    const bool windowed = readCheck(windowedCheck);
    writeVisible(sizeGroup, windowed);
    launchState.displaySwitch = displaySwitchFor(windowed);
}

void onSkipMoviesClicked() {
    launchState.movieSwitch = movieSwitchFor(readCheck(skipMoviesCheck));
}

void onIpHelperClicked() {
    const bool shown = readCheck(ipHelperCheck);
    const int height = readWindowHeight();
    const double change = shown ? hostPanelHeight() : -hostPanelHeight();
    writeWindowHeight(static_cast<int>(static_cast<double>(height) + change));
}

void onLaunchClicked() {
    launchState.resolutionSwitch = nextLaunchState().resolutionSwitch;
    const LaunchResult launched = launchGame(composeLaunchCommand(launchState));
    const SaveResult saved = saveSettings(readText(widthEdit), readText(heightEdit),
                                          readCheck(windowedCheck), readCheck(skipMoviesCheck));
    // Told only now: the settings are saved after every launch attempt, failed or not.
    tellLaunchOutcome(launched, saved);
}

void onModSelected() {
    const int index = listCurrentSelection(modList);
    launchState.modSwitch = modSwitchFor(listItemText(modList, index));
}

void onHostSelected() {
    // The address shown belongs to the previous choice, so it goes now; the new one is
    // written when its lookup answers (onHostLookedUp).
    writeText(addressEdit, "");
    hostLookups.request(mainWindowHandle(), kHostLookedUpMessage, readText(hostCombo));
}

void onHostLookedUp(WPARAM number) {
    std::string address;
    if (hostLookups.answer(number, address))
        writeText(addressEdit, address);
}

}  // namespace zarvell
