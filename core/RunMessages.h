#pragma once
// The words every generator uses about a run, the pages and the command line alike. GBK at run
// time, like every narrow literal of the program.

#include "CString.h"
#include "Wording.h"

#include <cstdint>

constexpr Wording MSG_BAD_COUNT{"生成个数设定无效！", "invalid count: -n must be at least 1"};
constexpr const char* MSG_SUCCESS = "生成成功！";
// While a run is on its way; a percentage may follow after a blank.
constexpr Wording MSG_WORKING{"生成中，请稍后...", "working..."};
constexpr const char* MSG_OUT_OF_MEMORY = "内存不足！";

// A run of count items ended by the user after made of them.
inline CString StoppedMessage(std::int64_t made, std::int64_t count)
{
    return "生成已停止：已生成 " + CString::FromInt(made) + " 个，共 " + CString::FromInt(count) +
           " 个。";
}
