#include <winsock.h>

#include <cstring>

#include "hosts/host_list.hpp"

namespace zarvell {

namespace {
constexpr size_t kNameBufferSize = 100;

// One Windows Sockets session per lookup; cleaned up on every way out.
class WsaSession {
  public:
    WsaSession() {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }
    ~WsaSession() {
        if (started_)
            WSACleanup();
    }
    WsaSession(const WsaSession&) = delete;
    WsaSession& operator=(const WsaSession&) = delete;
    bool started() const { return started_; }

  private:
    bool started_ = false;
};
}  // namespace

std::string resolveHostAddress(const std::string& hostName) {
    if (hostName.size() >= kNameBufferSize)
        return {};
    WsaSession session;
    if (!session.started())
        return {};

    char name[kNameBufferSize] = {};
    std::memcpy(name, hostName.data(), hostName.size());
    char result[20] = {};
    const hostent* host = gethostbyname(name);
    if (host && host->h_addrtype == AF_INET && host->h_addr_list && host->h_addr_list[0]) {
        in_addr address;
        std::memcpy(&address, host->h_addr_list[0], sizeof(address));
        const char* dotted = inet_ntoa(address);
        if (dotted)
            std::strncpy(result, dotted, sizeof(result) - 1);
    }
    return result;
}

}  // namespace zarvell
