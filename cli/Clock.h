#pragma once
// The clock a run is handed: the program's is the system's (main.cpp), a test's one it drives.

#include "core/EventsRules.h"

#include <atomic>

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds from an arbitrary start, never going back.
    virtual double Seconds() = 0;
    // Returns once Seconds() has reached deadline, or sooner once *stop is set (a delay of a
    // minute ends at once).
    virtual void WaitUntil(double deadline, const std::atomic<bool>* stop) = 0;
    virtual Timestamp Now() = 0;
};
