#include "Language.h"

#include "core/EventsRules.h"
#include "core/NumbersRules.h"
#include "core/StringsRules.h"
#include "platform/TextConversion.h"

#include <cstring>

Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang)
{
    for (const char* value : {lcAll, lcMessages, lang})
        if (value && *value)
            return std::strncmp(value, "zh", 2) == 0 ? Language::Chinese : Language::English;
    return Language::English;
}

namespace {

// The English of every rule-book message the command line can show.
struct PageWords {
    const char* gbk;
    const char* english;
};
const PageWords kPageWords[] = {
    {MSG_NO_CHAR_CLASS, "choose at least one kind of character"},
    {MSG_BAD_LENGTH, "invalid length: --min-length is above --max-length"},
    {MSG_HEAD_NOT_GBK, "--head holds a character that GBK cannot spell"},
    {MSG_TAIL_NOT_GBK, "--tail holds a character that GBK cannot spell"},
    {MSG_INSERT_NOT_GBK, "--insert holds a character that GBK cannot spell"},
    {MSG_STRING_TOO_LONG,
     "the strings would be too long (over 64 MiB): shorten the length, --head, --tail or --insert"},
    {MSG_BAD_COUNT, "invalid count: -n must be at least 1"},
    {MSG_NO_NUMBER_KIND, "choose --int, --float or both"},
    {MSG_BAD_DECIMALS, "invalid decimals: --decimals must be 0 or more"},
    {MSG_BAD_RANGE, "invalid range: --min is above --max"},
    {MSG_TOO_MANY_DECIMALS, "too many decimals (over 64 MiB a number): lower --decimals"},
    {MSG_BAD_PROGRAM, "invalid program: the program to run is empty"},
    {MSG_PROGRAM_TOO_LONG, "the program is too long (a web address at most 971 characters, one "
                           "starting with www at most 248, anything else at most 259)"},
    {MSG_PROGRAM_NOT_GBK, "the program's name holds a character that GBK cannot spell"},
    {MSG_BAD_INTERVAL, "invalid delays: --min-delay is above --max-delay"},
    {MSG_WORKING, "working..."},
};

} // namespace

std::string Words::Page(const char* gbk) const
{
    if (!m_chinese)
        for (const PageWords& words : kPageWords)
            if (std::strcmp(words.gbk, gbk) == 0)
                return words.english;
    std::string utf8;
    AppendUtf8FromGbk(gbk, utf8);
    return utf8;
}
