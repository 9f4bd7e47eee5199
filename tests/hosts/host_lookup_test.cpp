// Lookups in the background, answered through a window's message queue as the launcher's
// window gets them.
#include "hosts/host_lookup.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/host_list.hpp"
#include "test_support.hpp"

namespace zarvell {
namespace {

constexpr UINT kAnswerMessage = WM_APP + 3;

// A message-only window that shows (records) what its lookups answer, the way the launcher's
// window writes it into the address box.
class AnswerWindow {
  public:
    HostLookups lookups;
    std::vector<std::string> shown;

    AnswerWindow() { create(); }
    ~AnswerWindow() { destroy(); }
    HWND hwnd() const { return hwnd_; }
    void destroy() {
        if (hwnd_)
            DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    // Another window in place of this one, with the same lookups (the launcher's lookups
    // outlive its window).
    void renew() {
        destroy();
        create();
    }
    void choose(const std::string& name) { lookups.request(hwnd_, kAnswerMessage, name); }
    // Handles messages until `count` answers have been shown, or the time is out.
    bool waitForAnswers(size_t count, DWORD timeoutMs = 15000) {
        const DWORD start = GetTickCount();
        while (shown.size() < count && GetTickCount() - start < timeoutMs) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
        }
        return shown.size() >= count;
    }

  private:
    HWND hwnd_ = nullptr;

    void create() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZarvellLookupTest";
        RegisterClassW(&wc);  // fails harmlessly when already registered
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<AnswerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == kAnswerMessage) {
            std::string address;
            if (self->lookups.answer(wParam, address))
                self->shown.push_back(address);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

unsigned long ownThreads() {
    return test::threadCountOf(GetCurrentProcessId());
}

TEST(HostLookups, AnswerAsTheLookupItselfDoes) {
    const std::string fits = "127.0.0." + std::string(90, '0') + "1";  // 99 bytes
    const struct {
        std::string name;
        std::string address;
    } cases[] = {
        {"localhost", "127.0.0.1"},
        {fits, "127.0.0.1"},
        {fits + "2", ""},              // 100 bytes: not looked up
        {"", resolveHostAddress("")},  // this computer
        {"no-such-host.invalid", ""},
    };
    ASSERT_NE(cases[3].address, "");
    AnswerWindow window;
    for (const auto& c : cases) {
        window.shown.clear();
        window.choose(c.name);
        ASSERT_TRUE(window.waitForAnswers(1)) << c.name;
        EXPECT_EQ(window.shown, std::vector<std::string>{c.address}) << c.name;
    }
}

TEST(HostLookups, OnlyTheLatestChoiceIsShownAndOneLookupRunsAtATime) {
    AnswerWindow window;
    const unsigned long idle = ownThreads();
    // Choices come faster than lookups end: all but the first wait, and only the latest
    // waiting one is looked up once the first has ended.
    window.choose("no-such-host.invalid");
    for (int i = 0; i < 500; ++i)
        window.choose(i % 2 ? "localhost" : "");
    window.choose("127.0.0.2");
    EXPECT_LE(ownThreads(), idle + 1);
    // Answers for numbers that are not the running lookup's are not taken.
    PostMessageW(window.hwnd(), kAnswerMessage, 12345, 0);
    std::string address;
    EXPECT_FALSE(window.lookups.answer(0, address));
    ASSERT_TRUE(window.waitForAnswers(1));
    EXPECT_EQ(window.shown, std::vector<std::string>{"127.0.0.2"});
    EXPECT_TRUE(test::waitFor([&] { return ownThreads() == idle; }));
}

TEST(HostLookups, ALookupWhoseWindowHasGoneEndsOnItsOwn) {
    const unsigned long idle = ownThreads();
    {
        AnswerWindow window;
        window.choose("localhost");
        window.destroy();
    }  // the lookups go too, while their thread may still run
    EXPECT_TRUE(test::waitFor([&] { return ownThreads() == idle; }, 15000));

    // The next window's choices do not wait for a lookup that ran for the one before.
    AnswerWindow window;
    window.choose("no-such-host.invalid");
    window.renew();
    window.choose("127.0.0.2");
    ASSERT_TRUE(window.waitForAnswers(1));
    EXPECT_EQ(window.shown, std::vector<std::string>{"127.0.0.2"});
    EXPECT_TRUE(test::waitFor([&] { return ownThreads() == idle; }, 15000));
}

}  // namespace
}  // namespace zarvell
