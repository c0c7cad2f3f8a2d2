#pragma once
// What a POSIX locale's variables say, read from their text: the language of the messages, and
// whether the terminal's text is GB18030. Null stands for a variable that is not set.

#include "Wording.h"

// The language of a POSIX locale as programs take their messages' language from it: the first of
// LC_ALL, LC_MESSAGES and LANG that is set and not empty; Chinese when that names a zh locale.
Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);
// Whether the first of LC_ALL, LC_CTYPE and LANG that is set and not empty names the codeset
// GB18030 ("zh_CN.GB18030", "zh_CN.gb18030@euro"), in which a terminal's text then comes and goes.
bool LocaleIsGb18030(const char* lcAll, const char* lcCtype, const char* lang);
