#include <gtest/gtest.h>

#include <cstdio>

// The first line goes out on unbuffered stderr before any test runs, so that
// tests/wine-run.sh can tell a program Wine never started from one that started
// and failed: a crash loses gtest's buffered stdout, never this line.
int main(int argc, char** argv) {
    std::fputs("test program started\n", stderr);
    std::fflush(stderr);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
