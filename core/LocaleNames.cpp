#include "LocaleNames.h"

#include <cctype>
#include <cstring>
#include <string_view>

namespace {

const char* FirstSet(const char* a, const char* b, const char* c)
{
    for (const char* value : {a, b, c})
        if (value && *value)
            return value;
    return "";
}

} // namespace

Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang)
{
    return std::strncmp(FirstSet(lcAll, lcMessages, lang), "zh", 2) == 0 ? Language::Chinese
                                                                         : Language::English;
}

bool LocaleIsGb18030(const char* lcAll, const char* lcCtype, const char* lang)
{
    std::string_view name = FirstSet(lcAll, lcCtype, lang);
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return false;
    name = name.substr(dot + 1);
    name = name.substr(0, name.find('@'));
    constexpr std::string_view GB18030 = "gb18030";
    if (name.size() != GB18030.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != GB18030[i])
            return false;
    return true;
}
