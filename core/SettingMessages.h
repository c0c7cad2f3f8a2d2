#pragma once
// The refusals of the pages' settings, shared by the pages and the command line, so that both say
// the same thing. GBK at run time, like every narrow literal of the program.

constexpr const char* MSG_NO_CHAR_CLASS = "至少指定一种字符类型！";
constexpr const char* MSG_BAD_LENGTH = "生成长度设定无效！";
constexpr const char* MSG_BAD_COUNT = "生成个数设定无效！";
constexpr const char* MSG_NO_NUMBER_KIND = "至少指定一种数字类型！";
constexpr const char* MSG_BAD_DECIMALS = "保留小数位数设定无效！";
constexpr const char* MSG_BAD_RANGE = "数值范围设定无效！";
constexpr const char* MSG_BAD_PROGRAM = "外部程序命令行无效！";
constexpr const char* MSG_PROGRAM_TOO_LONG = "外部程序路径过长（最多 259 个字符）！";
constexpr const char* MSG_BAD_INTERVAL = "发生间隔设定无效！";
constexpr const char* MSG_STRINGS_TOO_LARGE = "生成结果过大，请减小生成长度或生成个数！";
constexpr const char* MSG_NUMBERS_TOO_LARGE = "生成结果过大，请减小生成个数或保留小数位数！";
// The longest text a program given to the shell may have, in UTF-16 units: a file name's.
constexpr int MAX_PROGRAM_CHARS = 259;
