#include "Pronounceable.h"

#include "Alphabet.h"
#include "Saturating.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

constexpr std::string_view VOWELS = "aeiou";
constexpr std::string_view CONSONANTS = "bcdfghjklmnprstvwxyz";
constexpr std::string_view VOWEL_PAIRS[] = {"ai", "au", "ea", "ee", "ei", "eu", "ia", "ie",
                                            "io", "oa", "oi", "oo", "ou", "ua", "ue", "ui"};
// Consonants that begin a word beside the single ones.
constexpr std::string_view ONSET_GROUPS[] = {
    "bl", "br", "ch", "cl",  "cr",  "dr",  "fl",  "fr",  "gl",  "gr",  "kl", "kr", "ph",
    "pl", "pr", "sc", "sh",  "sk",  "sl",  "sm",  "sn",  "sp",  "st",  "sw", "th", "tr",
    "tw", "wh", "wr", "chr", "sch", "scr", "shr", "spl", "spr", "str", "thr"};
// Single consonants that end a word, and the groups that do.
constexpr std::string_view CODA_SINGLES = "bcdfgklmnprstwxyz";
constexpr std::string_view CODA_GROUPS[] = {
    "ch",  "ck",  "ct",  "ff",  "ft",  "gh",  "ld",  "lf",  "lk",  "ll",  "lm", "lp", "lt",  "mp",
    "nd",  "ng",  "nk",  "ns",  "nt",  "ph",  "rb",  "rc",  "rd",  "rf",  "rg", "rk", "rl",  "rm",
    "rn",  "rp",  "rs",  "rt",  "sh",  "sk",  "sp",  "ss",  "st",  "th",  "ts", "xt", "lch", "lth",
    "mps", "nch", "nds", "ngs", "nks", "nst", "nth", "nts", "rch", "rst", "rth"};
constexpr int MAX_DIGITS = 2; // in a row

bool IsVowel(char c)
{
    return VOWELS.find(c) != std::string_view::npos;
}

// The consonant runs the rules allow, whole and begun.
struct Runs {
    std::set<std::string> onset, coda, middle, onsetBegun, middleBegun;
    Runs()
    {
        for (const char c : CONSONANTS)
            onset.insert(std::string(1, c));
        onset.insert(std::begin(ONSET_GROUPS), std::end(ONSET_GROUPS));
        for (const char c : CODA_SINGLES)
            coda.insert(std::string(1, c));
        coda.insert(std::begin(CODA_GROUPS), std::end(CODA_GROUPS));
        // Between vowels: a coda and an onset, either possibly none, at most three in all.
        std::set<std::string> codas = coda, onsets = onset;
        codas.insert(""), onsets.insert("");
        for (const std::string& end : codas)
            for (const std::string& start : onsets)
                if (const std::string run = end + start;
                    !run.empty() && (run.size() < 3 || (run[0] != run[1] && run[1] != run[2])))
                    middle.insert(run); // three with a letter doubled ("rmm") are not spoken
        for (const auto& [whole, begun] : {std::pair{&onset, &onsetBegun}, {&middle, &middleBegun}})
            for (const std::string& run : *whole)
                for (std::size_t n = 1; n <= run.size(); ++n)
                    begun->insert(run.substr(0, n));
    }
};

const Runs& TheRuns()
{
    static const Runs runs;
    return runs;
}

// Where a string stands with the rules: the state of the automaton that counts the strings.
struct Place {
    std::string run;    // the consonants that end the current word (at most three)
    char lastVowel = 0; // when the word ends in vowels
    int vowels = 0;     // vowels that end the word: 0, 1 or 2
    bool hasVowel = false;
    int digits = 0; // digits that end the string, after which a new word starts
    std::uint8_t covered = 0;

    std::string Key() const
    {
        return run + '|' + lastVowel + static_cast<char>('0' + vowels) +
               static_cast<char>('0' + hasVowel) + static_cast<char>('0' + digits) +
               static_cast<char>('0' + covered);
    }
    bool WordEmpty() const { return run.empty() && !hasVowel; }
    // The word may end here (before a digit or at the string's end).
    bool WordEnds() const { return hasVowel && (run.empty() || TheRuns().coda.count(run)); }
};

// The place after letter (small) or a digit; false when the rules do not allow it there.
bool Next(const Place& at, char c, std::uint8_t cls, Place& next)
{
    const Runs& runs = TheRuns();
    next = at;
    next.covered |= cls;
    if (c >= '0' && c <= '9') {
        if (!(at.WordEmpty() ? at.digits < MAX_DIGITS : at.WordEnds()))
            return false;
        next = Place{};
        next.covered = static_cast<std::uint8_t>(at.covered | cls);
        next.digits = (at.WordEmpty() ? at.digits : 0) + 1;
        return true;
    }
    next.digits = 0;
    if (IsVowel(c)) {
        if (!at.run.empty() && !(at.hasVowel ? runs.middle : runs.onset).count(at.run))
            return false;
        const std::string pair{at.lastVowel, c};
        if (at.vowels == 2 ||
            (at.vowels == 1 && !std::count(std::begin(VOWEL_PAIRS), std::end(VOWEL_PAIRS), pair)))
            return false;
        next.run.clear();
        next.vowels = at.vowels + 1;
        next.lastVowel = c;
        next.hasVowel = true;
        return true;
    }
    if (CONSONANTS.find(c) == std::string_view::npos)
        return false;
    next.run = at.run + c;
    next.vowels = 0;
    next.lastVowel = 0;
    return next.run.size() <= 3 &&
           (at.hasVowel ? runs.middleBegun : runs.onsetBegun).count(next.run) > 0;
}

using Count = std::array<std::uint64_t, 6>;

void Add(Count& sum, const Count& term)
{
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < sum.size(); ++i) {
        const std::uint64_t low = sum[i] + carry;
        carry = low < carry;
        sum[i] = low + term[i];
        carry += sum[i] < low;
    }
}

void Subtract(Count& a, const Count& b) // a >= b
{
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::uint64_t take = b[i] + borrow;
        borrow = (take < borrow) | (a[i] < take);
        a[i] -= take;
    }
}

bool Less(const Count& a, const Count& b)
{
    return std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend());
}

bool IsZero(const Count& a)
{
    return std::all_of(a.begin(), a.end(), [](std::uint64_t limb) { return limb == 0; });
}

double Log2(const Count& a)
{
    std::size_t top = a.size() - 1;
    while (top > 0 && a[top] == 0)
        --top;
    const double high = static_cast<double>(a[top]) +
                        (top > 0 ? static_cast<double>(a[top - 1]) / 18446744073709551616.0 : 0);
    return std::log2(high) + 64.0 * static_cast<double>(top);
}

std::uint64_t Saturated(const Count& a)
{
    const bool wide = std::any_of(a.begin() + 1, a.end(), [](std::uint64_t l) { return l != 0; });
    return wide ? DISTINCT_MANY : std::min(a[0], DISTINCT_MANY);
}

// Uniform below n (above 0): every limb uniform, the top one up to n's, drawn again when the value
// is not below n (at most half of the time).
Count Below(const Count& n, UniformSource& source)
{
    std::size_t top = n.size() - 1;
    while (top > 0 && n[top] == 0)
        --top;
    for (;;) {
        Count value{};
        for (std::size_t i = 0; i < top; ++i)
            value[i] = source.UpTo(UINT64_MAX);
        value[top] = source.UpTo(n[top]);
        if (Less(value, n))
            return value;
    }
}

} // namespace

Pronounceable::Pronounceable(const PronounceableChoice& choice)
{
    const bool lower = choice.lower || !choice.upper;
    std::uint8_t required = 0;
    if (choice.requireEach)
        required =
            static_cast<std::uint8_t>((lower ? CLASS_LOWER : 0) | (choice.upper ? CLASS_UPPER : 0) |
                                      (choice.digits ? CLASS_DIGIT : 0));
    // The symbols and their classes, in the order their strings are numbered.
    std::vector<std::pair<char, std::uint8_t>> symbols;
    for (char c = 'a'; c <= 'z'; ++c) {
        if (lower)
            symbols.emplace_back(c, CLASS_LOWER);
        if (choice.upper)
            symbols.emplace_back(static_cast<char>(c - 'a' + 'A'), CLASS_UPPER);
    }
    for (char c = '0'; c <= '9' && choice.digits; ++c)
        symbols.emplace_back(c, CLASS_DIGIT);

    // Every place a string can reach, breadth first from the empty string.
    std::vector<Place> places{Place{}};
    std::map<std::string, std::uint32_t> known{{places[0].Key(), 0}};
    for (std::size_t s = 0; s < places.size(); ++s) {
        m_steps.emplace_back();
        for (const auto& [symbol, cls] : symbols) {
            const char small = symbol >= 'A' && symbol <= 'Z' ? symbol - 'A' + 'a' : symbol;
            Place next;
            if (!Next(places[s], small, cls, next))
                continue;
            const auto [it, added] =
                known.try_emplace(next.Key(), static_cast<std::uint32_t>(places.size()));
            if (added)
                places.push_back(next);
            m_steps[s].push_back({symbol, it->second});
        }
    }
    for (const Place& p : places)
        m_accepting.push_back((p.covered & required) == required &&
                              (p.WordEnds() || (p.WordEmpty() && p.digits > 0)));

    // Strings of each remaining length from each place, from the end backwards.
    const std::size_t states = places.size();
    m_count.assign(states * static_cast<std::size_t>(choice.lenMax + 1), Count{});
    for (std::size_t s = 0; s < states; ++s)
        m_count[s][0] = m_accepting[s] ? 1 : 0;
    for (int remaining = 1; remaining <= choice.lenMax; ++remaining)
        for (std::size_t s = 0; s < states; ++s) {
            Count& sum = m_count[static_cast<std::size_t>(remaining) * states + s];
            for (const Step& step : m_steps[s])
                Add(sum, CountFrom(step.next, remaining - 1));
        }
    for (int length = choice.lenMin; length <= choice.lenMax; ++length)
        if (!IsZero(CountFrom(0, length)))
            m_lengths.push_back(length);
}

Wording MakePronounceable(const PronounceableChoice& choice,
                          std::shared_ptr<const Pronounceable>& made, BodyOdds& odds,
                          Alphabet& letters)
{
    if (choice.lenMin < 1 || choice.lenMax > PRONOUNCEABLE_MAX_LENGTH)
        return MSG_PRONOUNCEABLE_LENGTH;
    made = std::make_shared<const Pronounceable>(choice);
    if (made->Empty())
        return MSG_PRONOUNCEABLE_NONE;
    odds = {.distinct = made->Distinct(),
            .acceptance = 1,
            .entropyBits = made->EntropyBits(),
            .minEntropyBits = made->MinEntropyBits()};
    const bool upper = choice.upper, lower = choice.lower || !upper;
    AlphabetChoice kinds;
    kinds.classes = static_cast<std::uint8_t>(
        (upper ? CLASS_UPPER : 0) | (lower ? CLASS_LOWER : 0) | (choice.digits ? CLASS_DIGIT : 0));
    std::uint8_t unused = 0;
    BuildAlphabet(kinds, letters, unused);
    return {};
}

void Pronounceable::Append(std::string& out, UniformSource& source) const
{
    const int length = m_lengths[source.UpTo(m_lengths.size() - 1)];
    // The string numbered so among its length's, in the order of the symbols.
    Count number = Below(CountFrom(0, length), source);
    std::uint32_t state = 0;
    for (int remaining = length; remaining > 0; --remaining)
        for (const Step& step : m_steps[state]) {
            const Count& here = CountFrom(step.next, remaining - 1);
            if (Less(number, here)) {
                out += step.symbol;
                state = step.next;
                break;
            }
            Subtract(number, here);
        }
}

double Pronounceable::EntropyBits() const
{
    double sum = 0;
    for (const int length : m_lengths)
        sum += Log2(CountFrom(0, length));
    const double lengths = static_cast<double>(m_lengths.size());
    return std::log2(lengths) + sum / lengths;
}

double Pronounceable::MinEntropyBits() const
{
    double least = HUGE_VAL;
    for (const int length : m_lengths)
        least = std::min(least, Log2(CountFrom(0, length)));
    return std::log2(static_cast<double>(m_lengths.size())) + least;
}

std::uint64_t Pronounceable::Distinct() const
{
    std::uint64_t distinct = 0;
    for (const int length : m_lengths)
        distinct = SaturatingAdd(distinct, Saturated(CountFrom(0, length)));
    return distinct;
}

std::uint64_t Pronounceable::CountOf(int length) const
{
    const int longest = static_cast<int>(m_count.size() / m_accepting.size()) - 1;
    return length < 0 || length > longest ? 0 : Saturated(CountFrom(0, length));
}

bool Pronounceable::Accepts(std::string_view text) const
{
    std::uint32_t state = 0;
    for (const char c : text) {
        const auto& steps = m_steps[state];
        const auto step =
            std::find_if(steps.begin(), steps.end(), [c](const Step& s) { return s.symbol == c; });
        if (step == steps.end())
            return false;
        state = step->next;
    }
    return m_accepting[state];
}
