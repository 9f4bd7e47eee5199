// Host lookups away from the window's thread, so that a name server that does not answer
// (Windows retries for about ten seconds) never stops the window.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zarvell {

// The lookups of one window. One lookup runs at a time, on a thread of its own with its own
// copy of the name; a choice made meanwhile waits for it, and only the latest waiting choice
// is kept. So the threads and memory in use stay bounded however fast choices come. Nothing
// ever waits for a lookup: one whose window has gone frees itself when it ends.
// Used from the window's thread only.
class HostLookups {
  public:
    struct Lookup;  // one lookup's state, shared with its thread

    HostLookups() = default;
    ~HostLookups();
    HostLookups(const HostLookups&) = delete;
    HostLookups& operator=(const HostLookups&) = delete;

    // Looks `hostName` up for `window`, which is posted `message` (wParam: the lookup's
    // number, lParam: 0) once the answer is ready. Yields the address right away only when no
    // thread could be started and the lookup ran here instead.
    std::optional<std::string> request(HWND window, UINT message, std::string hostName);

    // For the window's `message`: the address when the lookup `number` answered the latest
    // choice; nothing for an older choice, whose answer is dropped, or for a number that is
    // not the running lookup's. Then starts the waiting choice, and yields its address
    // instead if it had to run here.
    std::optional<std::string> answer(WPARAM number);

  private:
    std::optional<std::string> start(std::string hostName);
    void forget();

    HWND window_ = nullptr;
    UINT message_ = 0;
    Lookup* running_ = nullptr;
    std::optional<std::string> waiting_;  // the latest choice, while another lookup runs
    WPARAM latest_ = 0;                   // number of the latest choice
};

}  // namespace zarvell
