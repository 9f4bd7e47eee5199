#include "launch/state.hpp"

#include <gtest/gtest.h>

namespace zarvell {
namespace {

TEST(ReleaseState, EmptiesEveryItemOfAFilledState) {
    launchState = {displaySwitchFor(false), resolutionSwitchFor(true, "1", "2"),
                   movieSwitchFor(true), modSwitchFor("M")};
    hostNames = {"a", "", "b"};
    searchResult = "last";
    releaseState();
    EXPECT_TRUE(launchState.displaySwitch.empty());
    EXPECT_TRUE(launchState.resolutionSwitch.empty());
    EXPECT_TRUE(launchState.movieSwitch.empty());
    EXPECT_TRUE(launchState.modSwitch.empty());
    EXPECT_TRUE(hostNames.empty());
    EXPECT_EQ(hostNames.capacity(), 0u);
    EXPECT_TRUE(searchResult.empty());
    releaseState();  // harmless on an empty state
    EXPECT_TRUE(hostNames.empty());
}

}  // namespace
}  // namespace zarvell
