#pragma once
// The numbers generator's rule book, for the numbers page and the command line alike: the
// settings' defaults, the check that refuses the first invalid setting in the page's order with
// the page's words.

#include "NumberItem.h"
#include "RunMessages.h"

// As the page opens.
constexpr BOOL NUMBERS_DEFAULT_INTEGER = 1;
constexpr BOOL NUMBERS_DEFAULT_FLOAT = 1;
constexpr const char* NUMBERS_DEFAULT_MIN = "80";
constexpr const char* NUMBERS_DEFAULT_MAX = "100";
constexpr int NUMBERS_DEFAULT_COUNT = 10;
constexpr int NUMBERS_DEFAULT_DECIMALS = 2;

// One item is built whole in memory: more decimals than fit are refused.
constexpr long long MAX_NUMBER_ITEM_BYTES = 64LL << 20;

constexpr Wording MSG_NO_NUMBER_KIND{"至少指定一种数字类型！", "choose --int, --float or both"};
constexpr Wording MSG_BAD_DECIMALS{"保留小数位数设定无效！", "invalid decimals"};
constexpr Wording MSG_BAD_RANGE{"数值范围设定无效！", "invalid range"};
constexpr Wording MSG_TOO_MANY_DECIMALS{"保留小数位数过大，请减小保留小数位数！",
                                        "too many decimals: lower --decimals"};

// What the page's controls hold, or the command line's arguments give, in the page's terms.
struct NumbersInput {
    BOOL integer = 0, decimal = 0;
    float min = 0, max = 0;
    int count = 0, decimals = 0;
};

// Takes in into o in the page's order and returns the first invalid setting's message, or none.
// What was taken before a refusal keeps its new value, the rest its old one; the decimals are
// taken only with decimal items chosen.
Wording CheckNumbers(const NumbersInput& in, NumberOptions& o);
