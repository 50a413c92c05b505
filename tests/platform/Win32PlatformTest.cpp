#include <gtest/gtest.h>
#include <windows.h>

TEST(Win32Environment, AnsiCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }
