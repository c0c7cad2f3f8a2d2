#pragma once
// The edit boxes of a page: numeric ones read by the runtime's atoi/atof rules, texts as typed.

#include "Wnd.h"
#include "core/SettingText.h"

#include <cstddef>

int ReadIntField(CWnd* page, int id);
float ReadFloatField(CWnd* page, int id);
// The box's text in GBK, with whether GBK could spell all of it; units, when given, receives its
// length in UTF-16 units (what a file name is counted in).
SettingText ReadTextField(CWnd* page, int id, std::size_t* units = nullptr);
