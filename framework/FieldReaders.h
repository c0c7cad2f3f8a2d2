#pragma once
// The numeric edit boxes of a page, read by the runtime's atoi/atof rules.

#include "Wnd.h"

int ReadIntField(CWnd* page, int id);
float ReadFloatField(CWnd* page, int id);
