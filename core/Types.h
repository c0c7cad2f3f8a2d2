#pragma once
// The 32-bit truth value read from a check box: 1 checked, 0 not. The same type as the window
// system's own, so the two declarations agree.
typedef int BOOL;
