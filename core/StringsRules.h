#pragma once
// The strings generator's rule book, for the strings page and the command line alike: the
// settings' defaults, the check that refuses the first invalid setting in the page's order with
// the page's words, and the largest string either will make.

#include "RunMessages.h"
#include "SettingText.h"
#include "StringComposer.h"

// As the page opens.
constexpr BOOL STRINGS_DEFAULT_UPPER = 1;
constexpr BOOL STRINGS_DEFAULT_LOWER = 1;
constexpr BOOL STRINGS_DEFAULT_DIGIT = 0;
constexpr BOOL STRINGS_DEFAULT_HANZI = 0;
constexpr int STRINGS_DEFAULT_LEN_MIN = 5;
constexpr int STRINGS_DEFAULT_LEN_MAX = 8;
constexpr int STRINGS_DEFAULT_COUNT = 10;

// One string is built whole in memory: a setting that makes a longer one is refused.
constexpr long long MAX_STRING_BYTES = 64LL << 20;

constexpr Wording MSG_NO_CHAR_CLASS{"至少指定一种字符类型！",
                                    "choose at least one kind of character"};
constexpr Wording MSG_BAD_LENGTH{"生成长度设定无效！", "invalid length"};
constexpr Wording MSG_HEAD_NOT_GBK{"头部含有 GBK 无法表示的字符！", "invalid head"};
constexpr Wording MSG_TAIL_NOT_GBK{"尾部含有 GBK 无法表示的字符！", "invalid tail"};
constexpr Wording MSG_INSERT_NOT_GBK{"插入的文字含有 GBK 无法表示的字符！", "invalid insertions"};
constexpr Wording MSG_STRING_TOO_LONG{
    "生成的字符串过长，请减小生成长度或头部、尾部、插入的文字！",
    "the strings would be too long: shorten the length, --head, --tail or --insert"};

// What the page's controls hold, or the command line's arguments give, in the page's terms: the
// class boxes, the texts as typed (before the insertion spec's blanks are trimmed) and the numeric
// boxes as read.
struct StringsInput {
    BOOL upper = 0, lower = 0, digit = 0, hanzi = 0;
    // Characters the page has no box for (the command line's own sets): they count as a chosen
    // class, and othersBytes is the most bytes one of them takes (1, 2, or 4 beyond GBK).
    BOOL others = 0;
    int othersBytes = 1;
    SettingText head, tail, insert;
    int lenMin = 0, lenMax = 0, count = 0;
};

struct StringsSettings {
    StringOptions options;
    int count = 0;
};

// Takes in into s in the page's order and returns the first invalid setting's message, or none.
// What was taken before a refusal keeps its new value, the rest its old one. reachesUpperBound:
// the draws reach the upper length bound (the command line without --seed), which makes the longest
// string longer.
Wording CheckStrings(const StringsInput& in, StringsSettings& s, bool reachesUpperBound = false);
