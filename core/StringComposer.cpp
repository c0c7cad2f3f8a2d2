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
    // Taken once: positions refer to the string as passed.
    const long long length = static_cast<long long>(s.size());
    int last = 0; // 0: nothing inserted yet
    for (const InsertPlan::Pair& pair : plan.pairs) {
        const int p = pair.position;
        if (p > length)
            continue;
        if (last != 0 && p >= last)
            continue;
        last = p;
        // p never exceeds the present length, since it is at most the length before any
        // insertion; a negative one inserts at the start.
        s.insert(static_cast<std::size_t>(std::max(p, 0)), pair.text.View());
    }
}

StringComposer::StringComposer(const StringOptions& opt, const ComposerSources& sources)
    : m_opt(opt), m_sources(sources),
      m_plan(ReadInsertPlan(opt.m_strInsert, sources)), m_chosen{false, opt.m_bUpper != 0,
                                                                 opt.m_bLower != 0,
                                                                 opt.m_bDigit != 0,
                                                                 opt.m_bHanzi != 0}
{
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

void StringComposer::Append(std::string& out, RandomSource& source)
{
    // A local copy lives in a register: the bytes written below could alias the caller's.
    RandomSource rng = source;
    // Without insertions the string is written where it belongs; with them it is built apart,
    // since positions count from the start of the string.
    std::string& s = m_plan.pairs.empty() ? out : m_scratch;
    if (&s == &m_scratch)
        s.clear();
    if (!m_opt.m_strHead.IsEmpty())
        s += m_opt.m_strHead.View();
    const int len = rng.Between(m_opt.m_nLenMin, m_opt.m_nLenMax);
    if (len > 0) {
        if (m_opt.m_bHanzi) {
            for (int i = 0; i < len; ++i)
                AppendRandomChar(s, m_opt, m_sources, rng);
        } else {
            // One byte a character: the body is written in place.
            const std::size_t at = s.size();
            s.resize(at + static_cast<std::size_t>(len));
            char* body = s.data() + at;
            for (int i = 0; i < len; ++i)
                body[i] = RandomSingleByte(m_chosen, rng);
        }
    }
    if (!m_opt.m_strTail.IsEmpty())
        s += m_opt.m_strTail.View();
    if (&s == &m_scratch) {
        ApplyInsertPlan(m_plan, s);
        out += s;
    }
    source = rng;
}

long long LongestString(const StringOptions& opt, bool reachesUpperBound)
{
    const long long lenMax =
        reachesUpperBound ? opt.m_nLenMax : ClassicTop(opt.m_nLenMin, opt.m_nLenMax);
    return static_cast<long long>(opt.m_strHead.size()) + opt.m_strTail.size() +
           opt.m_strInsert.size() + std::max(0LL, lenMax) * (opt.m_bHanzi ? 2 : 1);
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
