#pragma once
// A text setting as a box or an argument gave it, brought into GBK, the program's text.

#include "CString.h"

struct SettingText {
    CString gbk;
    // Some character had no GBK form and was replaced: the text is not what the user typed.
    bool unspellable = false;
};
