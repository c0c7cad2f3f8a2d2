#pragma once
// The application record handed to the library: four text slots describing the program.

#include "corelib/Core.h"

// Fills the four slots, each with its constant text in the library's hexadecimal form.
void FillSoftRecord(tagSoft* soft);

// The record, alive while the main window is.
extern tagSoft* g_pSoft;
