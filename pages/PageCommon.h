#pragma once
// What the three pages share: the generate timer, the limits of an output, the message box.

#include "core/BoxRules.h"
#include "framework/Dialog.h"

// Window-timer identifier of the strings and the interval page, each on its own window.
constexpr UINT GENERATE_TIMER_ID = 1;
// The strings page shows a batch of at most this many strings in its box.
constexpr int MAX_SHOWN_ITEMS = 1000;
// The box's words for a stopped batch it does not show.
constexpr const char* MSG_STOPPED_PART_TO_EXPORT = "生成已停止，已生成的部分请单击导出按钮。";
// Largest text one run may build in memory: a 32-bit process also needs room for its UTF-16 copy
// and the edit control's own.
constexpr long long MAX_OUTPUT_BYTES = 64LL << 20;

// Every message of the pages: modal, empty caption, one OK button, no icon.
inline void PageMessage(CWnd& page, const CString& text)
{
    page.MessageBox(text, "", MB_OK);
}

// Reports the first invalid setting of a page's CheckInput, which then returns FALSE.
inline BOOL RefuseSetting(CWnd& page, const CString& message)
{
    PageMessage(page, message);
    return FALSE;
}
