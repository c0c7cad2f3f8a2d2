// The GUI tests' entry: the framework's start-up, and a watchdog so that nothing can hang CI.
#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <objbase.h>

namespace {
DWORD WINAPI Watchdog(void*)
{
    ::Sleep(90 * 1000);
    std::fprintf(stderr, "watchdog: the test took longer than 90 s\n");
    std::fflush(stderr);
    ::ExitProcess(3);
}
} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE); // as the program
    AfxInitCommonControls();
    ::CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    return RUN_ALL_TESTS();
}
