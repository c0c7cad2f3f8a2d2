#include "StringComposer.h"

#include "FieldText.h"

#include <algorithm>

namespace {

void AppendHanzi(std::string& out, const ComposerSources& sources)
{
    // Rows 16..55 of GB2312 hold the 3755 level-1 characters; row 55 ends after column 89.
    const int row = sources.randInt(16, 55);
    const int col = sources.randInt(1, row == 55 ? 89 : 94);
    out += static_cast<char>(0xA0 + row);
    out += static_cast<char>(0xA0 + col);
}

// An optional sign and digits, and nothing else.
bool IsWholeNumber(std::string_view text)
{
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

InsertPlan ReadInsertPlan(const CString& spec, const ComposerSources& sources)
{
    InsertPlan plan;
    if (spec.IsEmpty())
        return plan;
    for (int k = 0;; k += 2) {
        const CString pos = sources.field(spec, '|', k);
        const CString txt = sources.field(spec, '|', k + 1);
        if (pos.IsEmpty())
            break;
        plan.pairs.push_back({IntFromText(pos.View()), txt});
    }
    return plan;
}

void ApplyInsertPlan(const InsertPlan& plan, std::string& s)
{
    // A position taken is at most the length before any insertion, so never past the present
    // one; a negative one inserts at the start.
    const long long length = static_cast<long long>(s.size());
    int last = 0;
    for (const InsertPlan::Pair& pair : plan.pairs)
        if (InsertPlan::Takes(pair.position, length, last))
            s.insert(static_cast<std::size_t>(std::max(pair.position, 0)), pair.text.View());
}

StringComposer::StringComposer(const StringOptions& opt, const ComposerSources& sources)
    : m_opt(opt), m_sources(sources),
      m_plan(ReadInsertPlan(opt.m_strInsert, sources)), m_chosen{false, opt.m_bUpper != 0,
                                                                 opt.m_bLower != 0,
                                                                 opt.m_bDigit != 0,
                                                                 opt.m_bHanzi != 0}
{
}

StringComposer::StringComposer(const StringOptions& opt, const Alphabet& alphabet,
                               const ComposerSources& sources)
    : StringComposer(opt, sources)
{
    m_alphabet = alphabet;
    if (alphabet.SingleBytes() && !alphabet.codes.empty()) {
        std::string bytes;
        for (const std::uint32_t code : alphabet.codes)
            bytes += static_cast<char>(code);
        m_bytes.emplace(bytes);
    }
}

void AppendRandomChar(std::string& out, const StringOptions& opt, const ComposerSources& sources,
                      RandomSource& rng)
{
    for (;;) {
        switch (rng.Between(1, 4)) {
        case 1:
            if (opt.m_bUpper) {
                out += static_cast<char>(rng.Between('A', 'Z'));
                return;
            }
            break;
        case 2:
            if (opt.m_bLower) {
                out += static_cast<char>(rng.Between('a', 'z'));
                return;
            }
            break;
        case 3:
            if (opt.m_bDigit) {
                out += static_cast<char>(rng.Between('0', '9'));
                return;
            }
            break;
        default:
            if (opt.m_bHanzi) {
                AppendHanzi(out, sources);
                return;
            }
            break;
        }
        // A class that is not chosen: a new class is drawn, and nothing else for this one.
    }
}

// The frame of every string: head, body, tail, then the insertions. Without insertions the string
// is written where it belongs; with them it is built apart, since positions count from its start.
template <class Body> void StringComposer::Frame(std::string& out, Body body)
{
    std::string& s = m_plan.pairs.empty() ? out : m_scratch;
    if (&s == &m_scratch)
        s.clear();
    if (!m_opt.m_strHead.IsEmpty())
        s += m_opt.m_strHead.View();
    body(s);
    if (!m_opt.m_strTail.IsEmpty())
        s += m_opt.m_strTail.View();
    if (&s == &m_scratch) {
        ApplyInsertPlan(m_plan, s);
        out += s;
    }
}

void StringComposer::ClassicBody(std::string& s, RandomSource& source)
{
    // A local copy lives in a register: the bytes written could alias the caller's.
    RandomSource rng = source;
    const int len = rng.Between(m_opt.m_nLenMin, m_opt.m_nLenMax);
    if (len > 0 && m_opt.m_bHanzi) {
        for (int i = 0; i < len; ++i)
            AppendRandomChar(s, m_opt, m_sources, rng);
    } else if (len > 0) {
        // One byte a character: the body is written in place.
        const std::size_t at = s.size();
        s.resize(at + static_cast<std::size_t>(len));
        char* body = s.data() + at;
        for (int i = 0; i < len; ++i)
            body[i] = RandomSingleByte(m_chosen, rng);
    }
    source = rng;
}

void StringComposer::Append(std::string& out, RandomSource& rng)
{
    Frame(out, [&](std::string& s) { ClassicBody(s, rng); });
}

void StringComposer::ExactBody(std::string& s, UniformSource& source)
{
    if (m_spoken)
        return m_spoken->Append(s, source);
    const std::size_t at = s.size();
    const std::uint64_t lengths =
        static_cast<std::uint64_t>(static_cast<long long>(m_opt.m_nLenMax) - m_opt.m_nLenMin);
    const std::uint8_t required = m_alphabet.required;
    if (m_bytes && !required && lengths == 0 && m_opt.m_nLenMin > 0) {
        // One length, one byte a character, nothing to check: the characters are drawn many
        // bodies at a time, in the order the body-by-body draws would take them.
        const auto len = static_cast<std::size_t>(m_opt.m_nLenMin);
        if (m_drawnFrom != &source || m_drawn.size() - m_drawnAt < len) {
            if (m_drawnFrom != &source)
                m_drawnAt = m_drawn.size();
            m_drawn.erase(0, m_drawnAt);
            const std::size_t have = m_drawn.size();
            m_drawn.resize(std::max<std::size_t>(DRAWN_AHEAD, len));
            source.Pick(m_drawn.data() + have, m_drawn.size() - have, *m_bytes);
            m_drawnAt = 0;
            m_drawnFrom = &source;
        }
        s.append(m_drawn, m_drawnAt, len);
        m_drawnAt += len;
        return;
    }
    if (m_bytes && !required) {
        // One byte a character and nothing to check: the body is written in place, in one go.
        const long long len = m_opt.m_nLenMin + static_cast<long long>(source.UpTo(lengths));
        if (len > 0) {
            s.resize(at + static_cast<std::size_t>(len));
            source.Pick(s.data() + at, static_cast<std::size_t>(len), *m_bytes);
        }
        return;
    }
    const std::uint64_t last = m_alphabet.codes.size() - 1;
    for (;;) {
        const long long len = m_opt.m_nLenMin + static_cast<long long>(source.UpTo(lengths));
        std::uint8_t covered = 0;
        s.resize(at);
        for (long long i = 0; i < len; ++i) {
            const std::size_t k = source.UpTo(last);
            AppendCode(s, m_alphabet.codes[k]);
            covered |= m_alphabet.classes[k];
        }
        // A body without a required class is drawn again whole, its length included.
        if ((covered & required) == required)
            return;
    }
}

void StringComposer::Append(std::string& out, UniformSource& source)
{
    Frame(out, [&](std::string& s) { ExactBody(s, source); });
}

void StringComposer::AppendNumbered(std::string& out, std::uint64_t index)
{
    const std::uint64_t letters = m_alphabet.codes.size();
    Frame(out, [&](std::string& s) {
        for (int i = 0; i < m_opt.m_nLenMax; ++i, index /= letters)
            AppendCode(s, m_alphabet.codes[index % letters]);
    });
}

std::vector<SkippedInsert> StringComposer::SkippedInserts(bool exact) const
{
    // The strings before their insertions: from the fewest characters of the fewest bytes to the
    // most of the most.
    const StringOptions& o = m_opt;
    long long fewest = std::max(0, o.m_nLenMin), most = std::max(0, o.m_nLenMax);
    int fewestBytes = o.m_bUpper || o.m_bLower || o.m_bDigit ? 1 : 2;
    int mostBytes = o.m_bHanzi ? 2 : 1;
    if (exact) {
        fewestBytes = m_alphabet.HasSingleBytes()                  ? 1
                      : m_alphabet.codes.front() < BEYOND_GBK_CODE ? 2
                                                                   : 4;
        mostBytes = m_alphabet.WidestBytes();
    } else {
        most = std::max(0LL, ClassicTop(o.m_nLenMin, o.m_nLenMax));
    }
    const long long fixed = static_cast<long long>(o.m_strHead.size() + o.m_strTail.size());
    const long long shortest = fixed + fewest * fewestBytes, longest = fixed + most * mostBytes;
    // Bodies of Chinese characters only grow two bytes at a time.
    const long long step = fewestBytes;

    // Which pairs a string takes depends only on its length, and changes only where a length
    // reaches a position: the shortest length and the first possible one at each position stand
    // for all.
    std::vector<long long> lengths{shortest};
    for (const InsertPlan::Pair& pair : m_plan.pairs)
        if (pair.position > shortest && pair.position <= longest)
            lengths.push_back(shortest + (pair.position - shortest + step - 1) / step * step);
    std::vector<bool> taken(m_plan.pairs.size(), false);
    for (const long long length : lengths) {
        int last = 0;
        for (std::size_t i = 0; i < m_plan.pairs.size() && length <= longest; ++i)
            if (InsertPlan::Takes(m_plan.pairs[i].position, length, last))
                taken[i] = true;
    }

    std::vector<SkippedInsert> skipped;
    for (std::size_t i = 0; i < m_plan.pairs.size(); ++i) {
        if (taken[i])
            continue;
        const CString position = m_sources.field(o.m_strInsert, '|', static_cast<int>(2 * i));
        CString trimmed = position;
        const int value = m_plan.pairs[i].position;
        skipped.push_back({position.Str(), m_plan.pairs[i].text.Str(), value, value > longest,
                           !IsWholeNumber(trimmed.Trim().View()), longest});
    }
    return skipped;
}

long long LongestString(const StringOptions& opt, bool reachesUpperBound, int bodyBytes)
{
    if (bodyBytes == 0)
        bodyBytes = opt.m_bHanzi ? 2 : 1;
    const long long lenMax =
        reachesUpperBound ? opt.m_nLenMax : ClassicTop(opt.m_nLenMin, opt.m_nLenMax);
    return static_cast<long long>(opt.m_strHead.size()) + opt.m_strTail.size() +
           opt.m_strInsert.size() + std::max(0LL, lenMax) * bodyBytes;
}

CString MakeString(const StringOptions& opt, const ComposerSources& sources, RandomSource& rng)
{
    std::string s;
    StringComposer(opt, sources).Append(s, rng);
    return CString(std::move(s));
}

CString RandomChar(const StringOptions& opt, const ComposerSources& sources, RandomSource& rng)
{
    std::string c;
    AppendRandomChar(c, opt, sources, rng);
    return CString(std::move(c));
}

CString RandomHanzi(const ComposerSources& sources)
{
    std::string c;
    AppendHanzi(c, sources);
    return CString(std::move(c));
}

CString ApplyInserts(const StringOptions& opt, const ComposerSources& sources, CString s)
{
    if (opt.m_strInsert.IsEmpty())
        return s; // the field splitter is not called
    std::string bytes = s.Str();
    ApplyInsertPlan(ReadInsertPlan(opt.m_strInsert, sources), bytes);
    return CString(std::move(bytes));
}
