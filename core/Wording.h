#pragma once
// A message of the generators' rule books worded in both of the program's languages, side by side:
// the pages' Chinese words (GBK, like every narrow literal of the program) and the command line's
// English ones, so that no message comes without its English.

enum class Language { English, Chinese };

struct Wording {
    const char* chinese = nullptr;
    const char* english = nullptr;
    // The pages speak Chinese: a message stands for its Chinese words; no message is null.
    constexpr operator const char*() const { return chinese; }
    constexpr const char* In(Language language) const
    {
        return language == Language::Chinese ? chinese : english;
    }
};
