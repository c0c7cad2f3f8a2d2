// Text conversions on POSIX systems, by iconv.
#include "TextConversion.h"

#include "core/GbkText.h"

#include <cerrno>
#include <iconv.h>

namespace {

// One converter per direction, opened on first use.
struct Converter {
    explicit Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
    }
    iconv_t cd;
};

// Converts in whole; at a byte it cannot take, calls skip(at) for how many bytes to pass over
// (0: give up).
template <class Skip> bool Convert(iconv_t cd, std::string_view in, std::string& out, Skip skip)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
        const std::size_t at = out.size();
        out.resize(at + left * 4 + 16);
        char* dst = out.data() + at;
        std::size_t room = out.size() - at;
        const std::size_t r = iconv(cd, &src, &left, &dst, &room);
        out.resize(out.size() - room);
        if (r != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        const std::size_t pass = skip(std::string_view(src, left), out);
        if (pass == 0)
            return false;
        src += pass;
        left -= pass;
    }
    return true;
}

} // namespace

void AppendUtf8FromGbk(std::string_view gbk, std::string& utf8)
{
    static Converter c("UTF-8", "GBK");
    const std::string_view replacement = "\xEF\xBF\xBD"; // U+FFFD
    std::size_t from = 0;
    // An orphaned lead byte stands alone: iconv would take the byte after it as its trail.
    for (std::size_t orphan; (orphan = FindOrphanLead(gbk, from)) != std::string_view::npos;
         from = orphan + 1) {
        AppendUtf8FromGbk(gbk.substr(from, orphan - from), utf8);
        utf8 += replacement;
    }
    Convert(c.cd, gbk.substr(from), utf8, [&](std::string_view rest, std::string& out) {
        // A pair without a character (or a byte that is no character) is passed over whole.
        out += replacement;
        const auto lead = static_cast<unsigned char>(rest[0]);
        return rest.size() > 1 && IsGbkLead(lead) && IsGbkTrail(static_cast<unsigned char>(rest[1]))
                   ? std::size_t{2}
                   : std::size_t{1};
    });
}

bool IsUtf8(std::string_view bytes)
{
    static Converter c("UTF-32LE", "UTF-8");
    std::string ignored;
    return Convert(c.cd, bytes, ignored,
                   [](std::string_view, std::string&) { return std::size_t{0}; });
}

bool GbkFromUtf8(std::string_view utf8, std::string& gbk)
{
    static Converter c("GBK", "UTF-8");
    gbk.clear();
    return Convert(c.cd, utf8, gbk, [](std::string_view, std::string&) { return std::size_t{0}; });
}

bool CanWriteGb18030()
{
    static Converter c("GB18030", "UTF-8");
    return c.cd != reinterpret_cast<iconv_t>(-1);
}

void AppendGb18030FromUtf8(std::string_view utf8, std::string& gb18030)
{
    static Converter c("GB18030", "UTF-8");
    // Every character has a GB18030 form; what is not UTF-8 at all becomes '?'.
    Convert(c.cd, utf8, gb18030, [](std::string_view, std::string& out) {
        out += '?';
        return std::size_t{1};
    });
}

bool Utf8FromGb18030(std::string_view gb18030, std::string& utf8)
{
    static Converter c("UTF-8", "GB18030");
    utf8.clear();
    return Convert(c.cd, gb18030, utf8,
                   [](std::string_view, std::string&) { return std::size_t{0}; });
}
