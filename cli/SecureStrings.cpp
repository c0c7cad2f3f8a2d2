#include "SecureStrings.h"

SecureStringMaker::SecureStringMaker(const StringOptions& opt, const Alphabet& alphabet,
                                     const ComposerSources& sources)
    : m_opt(opt), m_plan(ReadInsertPlan(opt.m_strInsert, sources)), m_codes(alphabet.codes),
      m_classes(alphabet.classes), m_required(alphabet.required)
{
    if (alphabet.SingleBytes())
        for (const std::uint16_t code : m_codes)
            m_bytes += static_cast<char>(code);
}

std::string& SecureStringMaker::Begin(std::string& out)
{
    // With insertions the string is built apart: positions count from its start.
    std::string& s = m_plan.pairs.empty() ? out : m_scratch;
    if (&s == &m_scratch)
        s.clear();
    s += m_opt.m_strHead.View();
    return s;
}

void SecureStringMaker::End(std::string& out, std::string& s)
{
    s += m_opt.m_strTail.View();
    if (&s == &m_scratch) {
        ApplyInsertPlan(m_plan, s);
        out += s;
    }
}

void SecureStringMaker::AppendBody(std::string& s, UniformSource& source)
{
    const std::size_t at = s.size();
    const std::uint64_t lengths =
        static_cast<std::uint64_t>(static_cast<long long>(m_opt.m_nLenMax) - m_opt.m_nLenMin);
    const std::uint64_t last = m_codes.size() - 1;
    for (;;) {
        const long long len = m_opt.m_nLenMin + static_cast<long long>(source.UpTo(lengths));
        std::uint8_t covered = 0;
        s.resize(at);
        if (len > 0 && !m_bytes.empty() && !m_required) {
            // One byte a character: the body is written in place.
            s.resize(at + static_cast<std::size_t>(len));
            char* body = s.data() + at;
            for (long long i = 0; i < len; ++i)
                body[i] = m_bytes[source.UpTo(last)];
        } else {
            for (long long i = 0; i < len; ++i) {
                const std::size_t k = source.UpTo(last);
                const std::uint16_t code = m_codes[k];
                if (code >= 0x100)
                    s += static_cast<char>(code >> 8);
                s += static_cast<char>(code & 0xFF);
                covered |= m_classes[k];
            }
        }
        // A body without a required class is drawn again whole, its length included.
        if ((covered & m_required) == m_required)
            return;
    }
}

void SecureStringMaker::Append(std::string& out, UniformSource& source)
{
    std::string& s = Begin(out);
    AppendBody(s, source);
    End(out, s);
}

void SecureStringMaker::AppendNumbered(std::string& out, std::uint64_t index)
{
    std::string& s = Begin(out);
    const std::uint64_t letters = m_codes.size();
    for (int i = 0; i < m_opt.m_nLenMax; ++i, index /= letters) {
        const std::uint16_t code = m_codes[index % letters];
        if (code >= 0x100)
            s += static_cast<char>(code >> 8);
        s += static_cast<char>(code & 0xFF);
    }
    End(out, s);
}
