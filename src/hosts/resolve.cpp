#include <winsock.h>

#include <cstring>

#include "hosts/host_list.hpp"
#include "launch/system_library.hpp"

namespace zarvell {

namespace {
constexpr size_t kNameBufferSize = 100;

// Windows Sockets, loaded at the first lookup rather than at start-up: most runs never
// look a host up, and every DLL loaded before the window shows delays it.
struct Sockets {
    using Startup = int(WINAPI*)(WORD, LPWSADATA);
    using Cleanup = int(WINAPI*)();
    using HostByName = hostent*(WINAPI*)(const char*);
    using NtoA = char*(WINAPI*)(in_addr);
    Startup startup = nullptr;
    Cleanup cleanup = nullptr;
    HostByName hostByName = nullptr;
    NtoA ntoa = nullptr;

    static Sockets get() {
        // From the system folder only; a load that failed is tried again at the next lookup.
        static SystemLibrary ws2(L"ws2_32.dll");
        const Sockets sockets = [] {
            Sockets s;
            if (HMODULE dll = ws2.get()) {
                s.startup = reinterpret_cast<Startup>(find(dll, "WSAStartup"));
                s.cleanup = reinterpret_cast<Cleanup>(find(dll, "WSACleanup"));
                s.hostByName = reinterpret_cast<HostByName>(find(dll, "gethostbyname"));
                s.ntoa = reinterpret_cast<NtoA>(find(dll, "inet_ntoa"));
            }
            return s;
        }();
        return sockets;
    }
    bool usable() const { return startup && cleanup && hostByName && ntoa; }

  private:
    static void* find(HMODULE dll, const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(dll, name));
    }
};

// One Windows Sockets session per lookup; cleaned up on every way out.
class WsaSession {
  public:
    explicit WsaSession(const Sockets& sockets) : sockets_(sockets) {
        WSADATA data;
        started_ = sockets_.startup(MAKEWORD(1, 1), &data) == 0;
    }
    ~WsaSession() {
        if (started_)
            sockets_.cleanup();
    }
    WsaSession(const WsaSession&) = delete;
    WsaSession& operator=(const WsaSession&) = delete;
    bool started() const { return started_; }

  private:
    const Sockets& sockets_;
    bool started_ = false;
};
}  // namespace

std::string resolveHostAddress(const std::string& hostName) {
    if (hostName.size() >= kNameBufferSize)
        return {};
    const Sockets sockets = Sockets::get();
    if (!sockets.usable())
        return {};
    WsaSession session(sockets);
    if (!session.started())
        return {};

    char name[kNameBufferSize] = {};
    std::memcpy(name, hostName.data(), hostName.size());
    char result[20] = {};
    const hostent* host = sockets.hostByName(name);
    if (host && host->h_addrtype == AF_INET && host->h_addr_list && host->h_addr_list[0]) {
        in_addr address;
        std::memcpy(&address, host->h_addr_list[0], sizeof(address));
        const char* dotted = sockets.ntoa(address);
        if (dotted)
            std::strncpy(result, dotted, sizeof(result) - 1);
    }
    return result;
}

}  // namespace zarvell
