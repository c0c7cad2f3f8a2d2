#include "Alphabet.h"

#include "ExtendedGbk.h"
#include "GbkText.h"
#include "Saturating.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>

std::vector<std::uint32_t> GbkCharacters(std::string_view gbk)
{
    std::vector<std::uint32_t> codes;
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead == BEYOND_GBK_LEAD && i + BEYOND_GBK_BYTES <= gbk.size()) {
            std::uint32_t cp = 0;
            for (std::size_t k = 1; k < BEYOND_GBK_BYTES; ++k)
                cp = cp << 7 | (static_cast<unsigned char>(gbk[i + k]) & 0x7F);
            codes.push_back(BEYOND_GBK_CODE + cp);
            i += BEYOND_GBK_BYTES - 1;
        } else if (i + 1 < gbk.size() && IsGbkLead(lead) &&
                   IsGbkTrail(static_cast<unsigned char>(gbk[i + 1]))) {
            codes.push_back(
                static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(gbk[++i])));
        } else {
            codes.push_back(lead);
        }
    }
    return codes;
}

void AppendCode(std::string& out, std::uint32_t code)
{
    if (code >= BEYOND_GBK_CODE)
        return AppendBeyondGbk(out, code - BEYOND_GBK_CODE);
    if (code >= 0x100)
        out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

AlphabetProblem BuildAlphabet(const AlphabetChoice& choice, Alphabet& alphabet,
                              std::uint8_t& problemClass)
{
    std::map<std::uint32_t, std::uint8_t> classOf; // by code
    const auto add = [&](std::uint32_t code, std::uint8_t cls) { classOf[code] |= cls; };
    for (int c = 'A'; c <= 'Z' && (choice.classes & CLASS_UPPER); ++c)
        add(static_cast<std::uint16_t>(c), CLASS_UPPER);
    for (int c = 'a'; c <= 'z' && (choice.classes & CLASS_LOWER); ++c)
        add(static_cast<std::uint16_t>(c), CLASS_LOWER);
    for (int c = '0'; c <= '9' && (choice.classes & CLASS_DIGIT); ++c)
        add(static_cast<std::uint16_t>(c), CLASS_DIGIT);
    if (choice.classes & CLASS_SYMBOL)
        for (const char c : SYMBOL_CHARACTERS)
            add(static_cast<unsigned char>(c), CLASS_SYMBOL);
    // GB2312 level 1, as the pages draw it: rows 0xB0..0xD7, the last row ending at 0xF9.
    if (choice.classes & CLASS_HANZI)
        for (int lead = 0xB0; lead <= 0xD7; ++lead)
            for (int trail = 0xA1; trail <= (lead == 0xD7 ? 0xF9 : 0xFE); ++trail)
                add(static_cast<std::uint16_t>(lead << 8 | trail), CLASS_HANZI);
    if (choice.classes & CLASS_CHARSET) {
        for (const std::uint32_t code : GbkCharacters(choice.charset)) {
            // Would break a record apart, or show as nothing (C1 controls).
            if (code < 0x20 || code == 0x7F ||
                (code >= BEYOND_GBK_CODE + 0x80 && code <= BEYOND_GBK_CODE + 0x9F))
                return AlphabetProblem::ControlCharacter;
            add(code, CLASS_CHARSET);
        }
    }
    for (const std::uint32_t code : GbkCharacters(choice.exclude))
        classOf.erase(code);
    if (choice.noAmbiguous)
        for (const char c : AMBIGUOUS_CHARACTERS)
            classOf.erase(static_cast<unsigned char>(c));

    alphabet = {};
    std::uint8_t present = 0;
    for (const auto& [code, classes] : classOf) {
        alphabet.codes.push_back(code);
        alphabet.classes.push_back(classes);
        present |= classes;
    }
    if (alphabet.codes.empty())
        return AlphabetProblem::Empty;
    if (choice.requireEach) {
        alphabet.required = choice.classes;
        if (const std::uint8_t lost = choice.classes & ~present) {
            problemClass = static_cast<std::uint8_t>(lost & -lost); // the first of them
            return AlphabetProblem::ClassEmptied;
        }
    }
    return AlphabetProblem::None;
}

namespace {

// Below this a body of the length is taken to hold every required class for certain.
constexpr double CERTAIN = 1 - 1e-13;

} // namespace

BodyOdds OddsOf(const Alphabet& alphabet, int lenMin, int lenMax)
{
    const double letters = static_cast<double>(alphabet.codes.size());
    // The required classes renumbered 0..r-1, and how many characters cover each subset of them.
    std::vector<std::uint8_t> bitOf;
    for (int b = 0; b < 8; ++b)
        if (alphabet.required & (1 << b))
            bitOf.push_back(static_cast<std::uint8_t>(1 << b));
    const std::size_t subsets = std::size_t{1} << bitOf.size(), full = subsets - 1;
    std::map<std::size_t, std::uint64_t> coverCount;
    for (const std::uint8_t cls : alphabet.classes) {
        std::size_t cover = 0;
        for (std::size_t i = 0; i < bitOf.size(); ++i)
            if (cls & bitOf[i])
                cover |= std::size_t{1} << i;
        ++coverCount[cover];
    }

    const long long lo = lenMin, hi = lenMax;
    const double lengths = static_cast<double>(hi - lo + 1);
    const long long emptyLengths = std::max(0LL, std::min(hi, 0LL) - lo + 1);
    const double emptyAccepted = bitOf.empty() ? 1 : 0; // an empty body holds no class
    const long long first = std::max(lo, 1LL);          // the first length with characters

    BodyOdds odds;
    // Different bodies: counted exactly until they saturate (one letter: one body a length).
    odds.distinct = emptyLengths > 0 && bitOf.empty() ? 1 : 0;
    if (alphabet.codes.size() == 1) {
        odds.distinct = SaturatingAdd(odds.distinct,
                                      hi >= first ? static_cast<std::uint64_t>(hi - first + 1) : 0);
    } else {
        std::vector<std::uint64_t> count(subsets, 0), next(subsets);
        count[0] = 1;
        for (long long len = 1; len <= hi && odds.distinct < DISTINCT_MANY; ++len) {
            std::fill(next.begin(), next.end(), 0);
            for (std::size_t s = 0; s < subsets; ++s)
                for (const auto& [cover, n] : coverCount)
                    next[s | cover] =
                        SaturatingAdd(next[s | cover], SaturatingMultiply(count[s], n));
            count.swap(next);
            if (len >= first)
                odds.distinct = SaturatingAdd(odds.distinct, count[full]);
            else if (count[full] == DISTINCT_MANY && first <= hi)
                odds.distinct = DISTINCT_MANY; // a longer length holds at least as many
        }
    }

    // The share of bodies of each length that hold every required class, until it is certain.
    std::vector<double> accepted; // for the lengths first, first + 1, ...
    std::vector<double> p(subsets, 0), q(subsets);
    p[0] = 1;
    long long len = 1;
    for (; len <= hi; ++len) {
        std::fill(q.begin(), q.end(), 0);
        for (std::size_t s = 0; s < subsets; ++s)
            for (const auto& [cover, n] : coverCount)
                q[s | cover] += p[s] * (static_cast<double>(n) / letters);
        p.swap(q);
        if (len >= first)
            accepted.push_back(p[full]);
        if (p[full] >= CERTAIN)
            break;
    }
    // The lengths after the loop accept every body.
    const long long certainFrom = first + static_cast<long long>(accepted.size());
    const double certainCount = hi >= certainFrom ? static_cast<double>(hi - certainFrom + 1) : 0;
    double sum = static_cast<double>(emptyLengths) * emptyAccepted + certainCount;
    for (const double a : accepted)
        sum += a;
    odds.acceptance = sum / lengths;
    if (odds.acceptance <= 0)
        return odds;

    // Every accepted body of length L has the chance 1 / (lengths * letters^L * acceptance).
    const double share = 1 / (lengths * odds.acceptance);
    const double perLength = std::log2(lengths) + std::log2(odds.acceptance);
    const double perLetter = std::log2(letters);
    double entropy = 0;
    if (const double empty = static_cast<double>(emptyLengths) * emptyAccepted * share; empty > 0)
        entropy -= empty * std::log2(empty);
    for (std::size_t i = 0; i < accepted.size(); ++i)
        entropy += accepted[i] * share *
                   (perLength + static_cast<double>(first + static_cast<long long>(i)) * perLetter);
    if (certainCount > 0) {
        const double lengthSum =
            (static_cast<double>(certainFrom) + static_cast<double>(hi)) * certainCount / 2;
        entropy += share * (certainCount * perLength + lengthSum * perLetter);
    }
    odds.entropyBits = entropy;
    return odds;
}
