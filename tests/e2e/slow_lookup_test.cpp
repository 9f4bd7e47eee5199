// The real launcher while host lookups hang. Run through silent_name_server.sh: every lookup
// of this program and the launcher it starts goes to a name server that never answers, so a
// name that is not in the hosts file waits for the resolver's time-out (ten seconds, about
// what Windows takes with a dead name server).
#include <windows.h>
#include <psapi.h>

#include <algorithm>

#include "launcher_fixture.hpp"

namespace zarvell {
namespace {

// Absolute names (final dot): no search domains, one query each.
constexpr char kSlowHost[] = "zarvell-slow.test.";
constexpr char kOtherSlowHost[] = "zarvell-slow-2.test.";

class SlowLookup : public Launcher {
  protected:
    unsigned long idleThreads = 0;

    void startWithHosts(const std::string& names) {
        test::writeFile(game / "mod.ini", "[mod]\r\nname=" + names + "\r\n");
        start();
        ui.click(ipHelperCheck);
        ASSERT_TRUE(settle());
        idleThreads = threads();
    }
    unsigned long threads() const { return test::threadCountOf(process->id()); }
    SIZE_T workingSet() const {
        PROCESS_MEMORY_COUNTERS pmc{};
        pmc.cb = sizeof(pmc);
        GetProcessMemoryInfo(process->handle(), &pmc, sizeof(pmc));
        return pmc.WorkingSetSize;
    }
    // Esc while a lookup hangs: the launcher is gone well before the lookup could end.
    void escClosesAtOnce() {
        const DWORD t0 = GetTickCount();
        ui.postKey(hostCombo, VK_ESCAPE);
        EXPECT_EQ(process->wait(5000), 0u);
        EXPECT_LT(GetTickCount() - t0, 2000u);
    }
};

TEST_F(SlowLookup, TheWindowAnswersWhileALookupHangsAndEscClosesItAtOnce) {
    startWithHosts(kSlowHost);
    ui.postKey(hostCombo, VK_DOWN);
    DWORD longest = 0;
    for (const DWORD t0 = GetTickCount(); GetTickCount() - t0 < 1500;) {
        const DWORD s = GetTickCount();
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutW(ui.window(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result), 0);
        longest = std::max(longest, GetTickCount() - s);
        Sleep(20);
    }
    EXPECT_LT(longest, 200u);
    ASSERT_TRUE(settle());
    ASSERT_EQ(threads(), idleThreads + 1) << "the lookup did not wait: no silent name server?";
    EXPECT_EQ(ui.text(hostCombo), kSlowHost);
    EXPECT_EQ(ui.text(addressEdit), "");
    escClosesAtOnce();
}

TEST_F(SlowLookup, ThreeQuickChoicesTheFirstSlowShowTheLastOnesAddress) {
    startWithHosts(std::string(kSlowHost) + ",127.0.0.2,localhost");
    for (int i = 0; i < 3; ++i)
        ui.postKey(hostCombo, VK_DOWN);
    // Until every lookup has ended, the box shows nothing or the last choice's address.
    std::string seen;
    EXPECT_TRUE(test::waitFor(
        [&] {
            const std::string now = ui.text(addressEdit);
            if (!now.empty() && now != "127.0.0.1")
                seen = now;
            return now == "127.0.0.1" && threads() == idleThreads;
        },
        40000));
    ASSERT_TRUE(settle());
    EXPECT_EQ(ui.text(addressEdit), "127.0.0.1");
    EXPECT_EQ(seen, "") << "an older choice's answer was shown";
    EXPECT_EQ(ui.text(hostCombo), "localhost");
    EXPECT_EQ(close(), 0u);
}

TEST_F(SlowLookup, FiveHundredChoicesWhileALookupHangsRunOneLookup) {
    startWithHosts(std::string(kSlowHost) + "," + kOtherSlowHost);
    ui.postKey(hostCombo, VK_DOWN);
    ASSERT_TRUE(settle());
    const unsigned long handles = test::handleCountOf(process->id());
    const SIZE_T memory = workingSet();
    for (int i = 0; i < 499; ++i)
        ui.postKey(hostCombo, i % 2 ? VK_UP : VK_DOWN);
    ASSERT_TRUE(settle());
    EXPECT_EQ(ui.text(hostCombo), kOtherSlowHost);
    EXPECT_EQ(threads(), idleThreads + 1);
    EXPECT_LE(test::handleCountOf(process->id()), handles + 2);
    EXPECT_LE(workingSet(), memory + 2 * 1024 * 1024);
    escClosesAtOnce();
}

}  // namespace
}  // namespace zarvell
