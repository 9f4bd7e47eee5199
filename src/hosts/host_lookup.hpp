// Host lookups away from the window's thread, so that a name server that does not answer
// (Windows retries for about ten seconds) never stops the window.
#pragma once

#include <windows.h>

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
    // number, lParam: 0) once the answer is ready. When no thread can be had, the lookup
    // fails as a lookup without Windows Sockets would: no answer, the box stays empty.
    void request(HWND window, UINT message, const std::string& hostName);

    // For the window's `message`: true, with the address, when the lookup `number` answered
    // the latest choice; false for an older choice, whose answer is dropped, or for a number
    // that is not the running lookup's. Then starts the waiting choice, if any.
    bool answer(WPARAM number, std::string& address);

  private:
    void start(const std::string& hostName);
    void forget();

    HWND window_ = nullptr;
    UINT message_ = 0;
    Lookup* running_ = nullptr;
    std::string waiting_;  // the latest choice, while another lookup runs
    bool hasWaiting_ = false;
    WPARAM latest_ = 0;  // number of the latest choice
};

}  // namespace zarvell
