#pragma once
// The one language of everything the command line says, help included: Chinese under a Chinese
// locale, where a refusal of a page's check is that page's own text, and English otherwise.

#include "core/LocaleNames.h"
#include "core/Wording.h"

#include <string>
#include <string_view>

// UTF-8 text from a u8 literal. (Plain narrow literals are GBK in this program.)
inline std::string U8(std::u8string_view text)
{
    return std::string(text.begin(), text.end());
}

// Picks the words of the chosen language; every text comes out as UTF-8.
class Words {
public:
    explicit Words(Language language) : m_chinese(language == Language::Chinese) {}
    Language In() const { return m_chinese ? Language::Chinese : Language::English; }
    std::string operator()(std::string_view english, std::u8string_view chinese) const
    {
        return m_chinese ? std::string(chinese.begin(), chinese.end()) : std::string(english);
    }
    std::string Pick(std::string english, std::string chinese) const
    {
        return m_chinese ? chinese : english;
    }
    // A text as quoted in a message: "text" or “text”.
    std::string Quoted(const std::string& text) const
    {
        return m_chinese ? U8(u8"“") + text + U8(u8"”") : '"' + text + '"';
    }
    // A message of the generators' rule books: in Chinese the page's own text, otherwise its
    // English.
    std::string operator()(const Wording& message) const;

private:
    bool m_chinese;
};
