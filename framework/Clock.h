#pragma once
// What a window measures the age of its work by: milliseconds from some fixed moment, wrapping as
// GetTickCount's do, so only differences mean anything. The program runs on the system's; a test
// hands in one of its own and moves it on instead of sleeping.

#include <windows.h>

class IClock {
public:
    virtual DWORD NowMs() const = 0;

protected:
    ~IClock() = default;
};

// The system's: GetTickCount.
const IClock& TickClock();
