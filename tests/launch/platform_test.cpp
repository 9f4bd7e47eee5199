#include <windows.h>

#include <gtest/gtest.h>

// Every text of the launcher is code-page-936 bytes; without the right locale Wine silently
// uses 1252 and every caption and value would come out wrong.
TEST(Platform, AnsiCodePageIs936) {
    EXPECT_EQ(GetACP(), 936u);
}
