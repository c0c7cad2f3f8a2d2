#include "Language.h"

#include "platform/TextConversion.h"

#include <cstring>

Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang)
{
    for (const char* value : {lcAll, lcMessages, lang})
        if (value && *value)
            return std::strncmp(value, "zh", 2) == 0 ? Language::Chinese : Language::English;
    return Language::English;
}

std::string Words::operator()(const Wording& message) const
{
    std::string utf8;
    AppendUtf8FromGbk(message.In(In()), utf8);
    return utf8;
}
