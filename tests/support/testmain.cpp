// Test entry: GoogleTest on a thread with a message queue; output without colour for the logs.
#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::GTEST_FLAG(color) = "no";
    SetProcessDPIAware();
    return RUN_ALL_TESTS();
}
