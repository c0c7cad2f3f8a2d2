#pragma once
// The words every generator uses about a run, the pages and the command line alike. GBK at run
// time, like every narrow literal of the program.

#include "CString.h"
#include "Wording.h"

#include <cstdint>

constexpr Wording MSG_BAD_COUNT{"生成个数设定无效！", "invalid count"};
constexpr const char* MSG_SUCCESS = "生成成功！";
// While a run is on its way; a percentage may follow after a blank.
constexpr Wording MSG_WORKING{"生成中，请稍后...", "working..."};
constexpr const char* MSG_OUT_OF_MEMORY = "内存不足！";

// A count as the pages show it, its digits in groups of three: "3,334,144".
CString CountText(std::int64_t n);

// A run of count items ended by the user after made of them.
inline CString StoppedMessage(std::int64_t made, std::int64_t count)
{
    return "生成已停止：已生成 " + CountText(made) + " 个，共 " + CountText(count) + " 个。";
}

// A whole list of count items whose showing in the box the user stopped after shown of them;
// rest tells where the whole list is.
inline CString ShowStoppedMessage(std::int64_t shown, std::int64_t count, const char* rest)
{
    return "显示已停止：已显示 " + CountText(shown) + " 个，共 " + CountText(count) + " 个；" +
           rest;
}
