// zanfor-cli strings: the strings page's settings and its own character options.
#include "Commands.h"
#include "core/ComposerSources.h"
#include "core/Entropy.h"

#include <array>
#include <bit>
#include <cstdio>

namespace {

// The exact draws: the union of the chosen characters, and what --require-each asks of it.
Refusal CheckAlphabet(const Words& w, const StringsArgs& a, const StringsInput& in,
                      const SettingText& charset, const SettingText& exclude,
                      const std::string& lengths, Settings& out)
{
    if (charset.unspellable || exclude.unspellable) // only GBK was asked for
        return charset.unspellable ? BadValue(w, "--charset", *a.charset, BeyondGbk(w, *a.charset))
                                   : BadValue(w, "--exclude", a.exclude, BeyondGbk(w, a.exclude));
    AlphabetChoice choice{.charset = charset.gbk.Str(),
                          .exclude = exclude.gbk.Str(),
                          .noAmbiguous = a.noAmbiguous,
                          .requireEach = a.requireEach};
    choice.classes =
        static_cast<std::uint8_t>((in.upper ? CLASS_UPPER : 0) | (in.lower ? CLASS_LOWER : 0) |
                                  (in.digit ? CLASS_DIGIT : 0) | (a.symbols ? CLASS_SYMBOL : 0) |
                                  (in.hanzi ? CLASS_HANZI : 0) | (a.charset ? CLASS_CHARSET : 0));
    const std::string removed = a.exclude.empty() ? "--no-ambiguous" : "--exclude " + a.exclude;
    const std::string each = SettingWords(w, "--require-each");
    std::uint8_t lost = 0;
    switch (BuildAlphabet(choice, out.alphabet, lost)) {
    case AlphabetProblem::None:
        break;
    case AlphabetProblem::ControlCharacter:
        return BadValue(
            w, "--charset", *a.charset,
            w("holds a line break or another control character", u8"含有换行符或其他控制字符"));
    case AlphabetProblem::Empty:
        return Refused(w, SettingWords(w, removed.substr(0, removed.find(' '))), removed,
                       w("no character is left to draw from", u8"排除之后没有可抽取的字符"));
    case AlphabetProblem::ClassEmptied: {
        // The option of the class, by its bit.
        const std::string
            option = std::array{"--upper",   "--lower", "--digits",
                                "--symbols", "--hanzi", "--charset"}[std::countr_zero(lost)];
        return Refused(w, each, "--require-each " + option + " " + removed,
                       w.Pick(option + " has no character left to draw",
                              option + U8(u8" 已没有可抽取的字符")));
    }
    }
    const StringOptions& o = out.strings;
    out.odds = OddsOf(out.alphabet, o.m_nLenMin, o.m_nLenMax);
    out.odds.minEntropyBits = MinEntropyBits(out.alphabet, o.m_nLenMin, o.m_nLenMax, out.odds);
    if (out.odds.acceptance <= 0) {
        const std::string classes = std::to_string(std::popcount(out.alphabet.required));
        const std::string most = std::to_string(o.m_nLenMax);
        return Refused(w, each, "--require-each " + lengths,
                       w.Pick("a body of at most " + most +
                                  (most == "1" ? " character" : " characters") +
                                  " cannot hold all " + classes + " chosen classes",
                              U8(u8"随机部分最多只有 ") + most +
                                  U8(u8" 个字符，容不下所选的全部 ") + classes + U8(u8" 类字符")));
    }
    if (out.odds.acceptance >= MIN_ACCEPTANCE)
        return std::nullopt;
    char tries[32];
    std::snprintf(tries, sizeof tries, "%.0f", 1 / out.odds.acceptance);
    return Refused(
        w, each, "--require-each " + lengths,
        w.Pick(std::string("only about one string in ") + tries +
                   " holds every chosen class; make the strings longer or choose "
                   "fewer classes",
               U8(u8"大约 ") + tries +
                   U8(u8" 个字符串中才有一个含有所选的每类字符；请加长字符串或少选几类")));
}

} // namespace

CommandSetup SetupStrings(CLI::App& app, CliOptions& o, const Words& w)
{
    CLI::App* sub = app.add_subcommand(
        "strings", w("Random strings: passwords, user names, codes; --seed: as the Zanfor tool's "
                     "strings page",
                     u8"随机字符串：密码、用户名、编号；--seed：同 Zanfor 工具的字符串页"));
    StringsArgs& s = o.strings;
    sub->add_flag("--upper", s.upper, w("Upper-case letters A-Z", u8"大写字母 A-Z"));
    sub->add_flag("--lower", s.lower, w("Lower-case letters a-z", u8"小写字母 a-z"));
    sub->add_flag("--digits", s.digits, w("Digits 0-9", u8"数字 0-9"));
    sub->add_flag("--hanzi", s.hanzi,
                  w("Chinese characters (GB2312 level 1). None of these four and no "
                    "--charset: --upper --lower",
                    u8"汉字（GB2312 一级字）。这四类和 --charset 都不指定时：--upper --lower"));
    sub->add_flag("--symbols", s.symbols,
                  w("Add the ASCII punctuation !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
                    u8"加上 ASCII 标点符号 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"));
    sub->add_option("--charset", s.charset,
                    w("Also draw from the characters of TEXT: any character the output's "
                      "encoding can spell (with gbk, those of GBK)",
                      u8"也从 TEXT 中的字符抽取：输出编码能表示的任何字符（gbk 只限 GBK 的字符）"))
        ->type_name("TEXT");
    sub->add_option("--exclude", s.exclude,
                    w("Never draw the characters of TEXT", u8"不抽取 TEXT 中的字符"))
        ->type_name("TEXT");
    sub->add_flag("--no-ambiguous", s.noAmbiguous,
                  w("Leave out the look-alikes 0 O o 1 l I |", u8"去掉易混淆的字符 0 O o 1 l I |"));
    sub->add_flag("--require-each", s.requireEach,
                  w("Every string holds each chosen class at least once: a string that does "
                    "not is drawn again whole",
                    u8"每个字符串至少含所选的每类字符各一个：不满足的整串重新抽取"));
    sub->add_option("--head", s.head,
                    w("Text put before the random body", u8"放在随机部分前面的文字"))
        ->type_name("TEXT");
    sub->add_option("--tail", s.tail,
                    w("Text put after the random body", u8"放在随机部分后面的文字"))
        ->type_name("TEXT");
    sub->add_option(
           "--insert", s.insert,
           w("\"pos|text|pos|text...\": texts inserted at byte positions (GBK bytes; "
             "a character beyond GBK counts 4), positions from the largest to the smallest",
             u8"“位置|文字|位置|文字...”：在字节位置（GBK 字节；GBK 以外的字符算 4 "
             u8"个）插入文字，位置从大到小"))
        ->type_name("SPEC");
    sub->add_option("--length", s.length,
                    w("A body of exactly N characters: both bounds below",
                      u8"随机部分恰为 N 个字符：同时设定下面两个界限"))
        ->type_name("N");
    sub->add_option("--min-length", s.minLength,
                    w("Shortest body, in characters", u8"随机部分最少的字符数"))
        ->type_name("N")
        ->capture_default_str();
    sub->add_option("--max-length", s.maxLength,
                    w("Longest body, in characters", u8"随机部分最多的字符数"))
        ->type_name("N")
        ->capture_default_str();
    sub->add_option("-n,--count", s.count, w("Number of strings", u8"生成个数"))
        ->type_name("N")
        ->capture_default_str();
    sub->add_flag("--pronounceable", s.pronounceable,
                  w("Letters in speakable groups, every such string equally likely: small ones, "
                    "--upper capitals, --digits between words",
                    u8"按读得出的字母组合抽取，每个这样的字符串机会均等：小写字母，--upper "
                    u8"为大写，--digits 为词间数字"));
    sub->add_flag("--unique", s.unique,
                  w("No string repeats; refused when the settings cannot make that many",
                    u8"结果不重复；设定做不到那么多时拒绝"));
    return {Command::Strings, sub, [sub, &o, &w]() -> Refusal {
                // Pronounceable strings are letters and digits by their own rules.
                for (const char* own :
                     {"--symbols", "--charset", "--exclude", "--no-ambiguous", "--hanzi"})
                    if (o.strings.pronounceable && sub->count(own))
                        return Conflict(w, "--pronounceable", own, w(MSG_PRONOUNCEABLE_LETTERS));
                for (const char* bound : {"--min-length", "--max-length"})
                    if (sub->count("--length") && sub->count(bound))
                        return Conflict(
                            w, "--length", bound,
                            w("--length sets both bounds", u8"--length 同时设定两个界限"));
                return std::nullopt;
            }};
}

Refusal CheckStringsArgs(const Words& w, const CliOptions& cli, Settings& out,
                         std::uint64_t memoryBytes)
{
    const StringsArgs& a = cli.strings;
    for (const auto& [option, text] : {std::pair{"--head", a.head},
                                       {"--tail", a.tail},
                                       {"--insert", a.insert},
                                       {"--charset", a.charset.value_or("")},
                                       {"--exclude", a.exclude}})
        if (auto r = NotUtf8(w, option, text))
            return r;
    // A seeded run of only what the page has repeats the page's draws; anything else is drawn
    // exactly, and where the output can spell any character, its texts may hold any.
    out.pageDraws = cli.seed && !a.symbols && !a.charset && a.exclude.empty() && !a.noAmbiguous &&
                    !a.requireEach && !a.unique && !a.pronounceable;
    const bool any = !out.pageDraws && cli.encoding != Encoding::Gbk;
    const SettingText charset = ReadGbk(a.charset.value_or(""), any);
    // No class given is the page as it opens; symbols add to it, an own set stands alone.
    const bool none = !a.upper && !a.lower && !a.digits && !a.hanzi && !a.charset;
    StringsInput in{.upper = a.upper || (none && STRINGS_DEFAULT_UPPER),
                    .lower = a.lower || (none && STRINGS_DEFAULT_LOWER),
                    .digit = a.digits || (none && STRINGS_DEFAULT_DIGIT),
                    .hanzi = a.hanzi || (none && STRINGS_DEFAULT_HANZI),
                    .others = a.symbols || a.charset.has_value(),
                    .head = ReadGbk(a.head, any),
                    .tail = ReadGbk(a.tail, any),
                    .insert = ReadGbk(a.insert, any)};
    for (const std::uint32_t code : GbkCharacters(charset.gbk.View()))
        in.othersBytes = std::max(in.othersBytes, code >= BEYOND_GBK_CODE ? 4
                                                  : code >= 0x100         ? 2
                                                                          : 1);
    const std::string lengths =
        a.length ? "--length " + *a.length
                 : "--min-length " + a.minLength + " --max-length " + a.maxLength;
    if (a.length) {
        if (auto r = ReadWhole(w, "--length", *a.length, in.lenMin))
            return r;
        in.lenMax = in.lenMin;
    } else {
        if (auto r = ReadWhole(w, "--min-length", a.minLength, in.lenMin))
            return r;
        if (auto r = ReadWhole(w, "--max-length", a.maxLength, in.lenMax))
            return r;
    }
    if (auto r = ReadCount(w, a.count, out, in.count))
        return r;
    StringsSettings s;
    // The exact draws reach the upper bound however far it is: the longest string must fit.
    if (auto r =
            Page(w, CheckStrings(in, s, !out.pageDraws),
                 {{MSG_BAD_LENGTH, lengths,
                   w("--min-length is above --max-length", u8"--min-length 大于 --max-length")},
                  {MSG_BAD_COUNT, "-n " + a.count, w("must be at least 1", u8"至少为 1")},
                  {MSG_HEAD_NOT_GBK, "--head " + a.head, BeyondGbk(w, a.head)},
                  {MSG_TAIL_NOT_GBK, "--tail " + a.tail, BeyondGbk(w, a.tail)},
                  {MSG_INSERT_NOT_GBK, "--insert " + a.insert, BeyondGbk(w, a.insert)},
                  {MSG_STRING_TOO_LONG, lengths,
                   w("a string would take over 64 MiB", u8"一个字符串会超过 64 MiB")}}))
        return r;
    out.strings = s.options;
    if (auto r = CheckPageCount(w, a.count, out))
        return r;
    if (out.pageDraws) {
        out.warning = ReachWarning(w, lengths, ClassicCut(in.lenMin, in.lenMax));
        return std::nullopt;
    }
    if (a.pronounceable) {
        const PronounceableChoice spoken{a.upper,       a.lower,   a.digits,
                                         a.requireEach, in.lenMin, in.lenMax};
        if (auto r = Page(w, MakePronounceable(spoken, out.spoken, out.odds, out.alphabet), {}))
            return r;
    } else if (auto r = CheckAlphabet(w, a, in, charset, ReadGbk(a.exclude, any), lengths, out))
        return r;
    if (!a.unique)
        return std::nullopt;
    const UniqueSpace space =
        a.pronounceable ? UniqueSpace{out.odds.distinct,
                                      static_cast<std::uint64_t>(LongestString(s.options, true)),
                                      0,
                                      {}}
                        : StringsSpace(s.options, out.alphabet, out.odds);
    return CheckUnique(w, space, out, memoryBytes);
}

void TellAboutStrings(Device& err, const Words& w, const Settings& settings)
{
    TwisterIntegers integers(0); // the draws are not looked at
    FieldWalker fields;
    const StringComposer composer(settings.strings, settings.alphabet, SourcesOf(integers, fields));
    // One line for every --insert pair that no string takes.
    for (const SkippedInsert& pair : composer.SkippedInserts(!settings.pageDraws)) {
        const std::string spec = w.Quoted(Utf8(pair.position) + "|" + Utf8(pair.text));
        const std::string at = std::to_string(pair.value);
        const std::string longest = std::to_string(pair.longest);
        std::string line =
            w.Pick("--insert: " + spec + " is skipped in every string: position " + at,
                   U8(u8"--insert：") + spec + U8(u8"在每个字符串中都被跳过：位置 ") + at);
        line += pair.pastTheEnd
                    ? w.Pick(" lies past the end of the longest string (" + longest + " bytes)",
                             U8(u8" 超出最长字符串的末尾（") + longest + U8(u8" 字节）"))
                    : w(" is not below the position of an earlier insertion (positions go from the "
                        "largest to the smallest)",
                        u8" 不小于前面已插入的位置（位置应从大到小）");
        if (pair.notANumber)
            line +=
                w.Pick(" (" + w.Quoted(Utf8(pair.position)) + " is not a number and reads as 0)",
                       U8(u8"（") + w.Quoted(Utf8(pair.position)) + U8(u8"不是数字，按 0 计）"));
        Say(err, line + "\n");
    }
}

BatchResult RunStrings(const RunFrame& run, bool& exhausted)
{
    // Chinese characters drawn as the page's library draws them, from --seed; the exact draws
    // take theirs from the alphabet.
    TwisterIntegers integers(run.settings.seed.value_or(0));
    FieldWalker fields;
    StringComposer composer(run.settings.strings, run.settings.alphabet,
                            SourcesOf(integers, fields));
    composer.Speak(run.settings.spoken.get());
    return RunMaker(run, composer, run.cli.strings.unique, exhausted);
}
