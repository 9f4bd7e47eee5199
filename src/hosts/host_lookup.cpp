#include "hosts/host_lookup.hpp"

#include <process.h>

#include <atomic>

#include "hosts/host_list.hpp"

namespace zarvell {

// Shared by the lookup's thread and the window's side; whichever lets go last frees it.
// The posted message carries only the number, never memory: a message that is never
// handled (the window destroyed, the loop ended) then leaves nothing behind.
struct HostLookups::Lookup {
    std::string hostName;
    std::string address;  // written by the thread before `done`
    HWND window = nullptr;
    UINT message = 0;
    WPARAM number = 0;
    std::atomic<bool> done{false};
    std::atomic<int> holders{2};
};

namespace {
using Lookup = HostLookups::Lookup;

void letGo(Lookup* lookup) {
    if (lookup && lookup->holders.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete lookup;
}

// The thread touches nothing but its lookup: it may still run while the process ends,
// after the program-wide state and the window are gone.
unsigned __stdcall runLookup(void* parameter) {
    auto* lookup = static_cast<Lookup*>(parameter);
    lookup->address = resolveHostAddress(lookup->hostName);
    lookup->done.store(true, std::memory_order_release);
    // A full message queue refuses the post for a while; a window that is gone, for good.
    while (!PostMessageW(lookup->window, lookup->message, lookup->number, 0) &&
           IsWindow(lookup->window)) {
        Sleep(100);
    }
    letGo(lookup);
    return 0;
}
}  // namespace

HostLookups::~HostLookups() {
    forget();
}

void HostLookups::forget() {
    letGo(running_);
    running_ = nullptr;
    hasWaiting_ = false;
}

void HostLookups::request(HWND window, UINT message, const std::string& hostName) {
    if (window != window_ || message != message_) {
        forget();  // a lookup still running for an earlier window keeps to itself
        window_ = window;
        message_ = message;
    }
    ++latest_;
    if (running_) {
        waiting_ = hostName;
        hasWaiting_ = true;
        return;
    }
    start(hostName);
}

bool HostLookups::answer(WPARAM number, std::string& address) {
    if (!running_ || running_->number != number ||
        !running_->done.load(std::memory_order_acquire)) {
        return false;
    }
    const bool latest = number == latest_;
    if (latest)
        address.swap(running_->address);
    letGo(running_);
    running_ = nullptr;
    if (hasWaiting_) {
        hasWaiting_ = false;
        start(waiting_);
    }
    return latest;
}

void HostLookups::start(const std::string& hostName) {
    auto* lookup = new Lookup;
    lookup->hostName = hostName;
    lookup->window = window_;
    lookup->message = message_;
    lookup->number = latest_;
    const uintptr_t thread = _beginthreadex(nullptr, 0, runLookup, lookup, 0, nullptr);
    if (!thread) {
        delete lookup;
        return;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));  // the thread ends and goes on its own
    running_ = lookup;
}

}  // namespace zarvell
