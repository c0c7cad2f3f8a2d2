#include "GuideText.h"

#include <algorithm>

namespace {

// The marks are written as UTF-8 whatever the narrow literals' charset (GBK in this library).
std::string U8(std::u8string_view s)
{
    return std::string(s.begin(), s.end());
}
const std::string kLevel2Open = U8(u8"【");
const std::string kLevel2Close = U8(u8"】");
const std::string kLevel3 = U8(u8"■ ");
const std::string kListMark = U8(u8"· ");
const std::string kRowMark = U8(u8"● ");
const std::string kCellColon = U8(u8"：");
const std::string kCellIndent = "    ";
const std::string kCodeIndent = "    ";

bool IsPunct(char c)
{
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') ||
           (c >= '{' && c <= '~');
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::size_t Indent(std::string_view line)
{
    std::size_t n = 0;
    while (n < line.size() && line[n] == ' ')
        ++n;
    return n;
}

// The closing ']' of the '[' at open, brackets nested; npos when there is none.
std::size_t ClosingBracket(std::string_view s, std::size_t open)
{
    int depth = 0;
    for (std::size_t i = open; i < s.size(); ++i) {
        if (s[i] == '\\') {
            ++i;
        } else if (s[i] == '[') {
            ++depth;
        } else if (s[i] == ']' && --depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Emphasis marks, escapes, code spans, links and images, as plain text.
std::string Inline(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (c == '\\' && i + 1 < s.size() && IsPunct(s[i + 1])) {
            out += s[i + 1];
            i += 2;
        } else if (c == '`') {
            std::size_t run = 0;
            while (i + run < s.size() && s[i + run] == '`')
                ++run;
            const std::string_view fence = s.substr(i, run);
            const std::size_t close = s.find(fence, i + run);
            if (close == std::string_view::npos) {
                out += fence;
                i += run;
                continue;
            }
            std::string_view code = s.substr(i + run, close - i - run);
            if (code.size() >= 2 && code.front() == ' ' && code.back() == ' ')
                code = code.substr(1, code.size() - 2);
            out += code;
            i = close + run;
        } else if (c == '*' && i + 1 < s.size() && s[i + 1] == '*') {
            i += 2;
        } else if (c == '[' || (c == '!' && i + 1 < s.size() && s[i + 1] == '[')) {
            const bool image = c == '!';
            const std::size_t open = image ? i + 1 : i;
            const std::size_t close = ClosingBracket(s, open);
            const std::size_t end =
                close == std::string_view::npos || close + 1 >= s.size() || s[close + 1] != '('
                    ? std::string_view::npos
                    : s.find(')', close + 2);
            if (end == std::string_view::npos) {
                out += c;
                ++i;
                continue;
            }
            // An image cannot be shown in text; a link shows its words.
            if (!image)
                out += Inline(s.substr(open + 1, close - open - 1));
            i = end + 1;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

// The cells of a table row, split at the '|' that are not escaped, outer bars dropped. "\|"
// stays in the cell as it is: Inline makes it a bar, inside code spans too, as tables do.
std::vector<std::string_view> Cells(std::string_view row)
{
    row = Trim(row);
    if (!row.empty() && row.front() == '|')
        row.remove_prefix(1);
    if (!row.empty() && row.back() == '|' && (row.size() < 2 || row[row.size() - 2] != '\\'))
        row.remove_suffix(1);
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= row.size(); ++i) {
        if (i < row.size() && row[i] == '\\') {
            ++i;
        } else if (i == row.size() || row[i] == '|') {
            cells.push_back(Trim(row.substr(start, std::min(i, row.size()) - start)));
            start = i + 1;
        }
    }
    return cells;
}

bool IsDelimiterRow(std::string_view row)
{
    for (std::string_view cell : Cells(row)) {
        if (cell.empty() || cell.find_first_not_of(":-") != std::string_view::npos ||
            cell.find('-') == std::string_view::npos)
            return false;
    }
    return true;
}

// A code span inside a table cell keeps "\|" as the bar it means.
std::string CellText(std::string_view cell)
{
    std::string unescaped;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '\\' && i + 1 < cell.size() && cell[i + 1] == '|')
            continue;
        unescaped += cell[i];
    }
    return Inline(unescaped);
}

bool IsListItem(std::string_view trimmed, std::size_t& markerEnd, bool& bullet)
{
    if (trimmed.size() >= 2 && (trimmed[0] == '-' || trimmed[0] == '*' || trimmed[0] == '+') &&
        trimmed[1] == ' ') {
        markerEnd = 2;
        bullet = true;
        return true;
    }
    std::size_t digits = 0;
    while (digits < trimmed.size() && trimmed[digits] >= '0' && trimmed[digits] <= '9')
        ++digits;
    if (digits > 0 && digits + 1 < trimmed.size() && trimmed[digits] == '.' &&
        trimmed[digits + 1] == ' ') {
        markerEnd = digits + 2;
        bullet = false;
        return true;
    }
    return false;
}

int HeadingLevel(std::string_view trimmed)
{
    std::size_t n = 0;
    while (n < trimmed.size() && trimmed[n] == '#')
        ++n;
    return n >= 1 && n <= 6 && n < trimmed.size() && trimmed[n] == ' ' ? static_cast<int>(n) : 0;
}

class Writer {
public:
    enum class Kind { None, Blank, Paragraph, Other };

    void Blank()
    {
        if (m_last != Kind::None && m_last != Kind::Blank) {
            m_out.text += "\r\n";
            m_last = Kind::Blank;
        }
    }
    // A line that a following line of the same paragraph may continue.
    void Paragraph(const std::string& line) { Line(line, Kind::Paragraph); }
    void Other(const std::string& line) { Line(line, Kind::Other); }
    // The next line of the paragraph just written: joined to it, with a blank between two
    // ASCII characters only (Chinese is written without spaces).
    bool Continue(const std::string& line)
    {
        if (m_last != Kind::Paragraph || line.empty())
            return false;
        std::string& text = m_out.text;
        text.resize(text.size() - 2); // the line end
        const unsigned char prev = static_cast<unsigned char>(text.back());
        const unsigned char next = static_cast<unsigned char>(line.front());
        if (prev < 0x80 && next < 0x80 && prev != ' ')
            text += ' ';
        text += line;
        text += "\r\n";
        return true;
    }
    void Heading(int level, const std::string& title)
    {
        if (m_last != Kind::None)
            Blank();
        m_out.sections.push_back({level, title, m_out.text.size()});
        Other(level == 1   ? title
              : level == 2 ? kLevel2Open + title + kLevel2Close
                           : kLevel3 + title);
        Blank();
    }
    GuideText Finish()
    {
        if (m_last == Kind::Blank)
            m_out.text.resize(m_out.text.size() - 2);
        return std::move(m_out);
    }

private:
    void Line(const std::string& line, Kind kind)
    {
        m_out.text += line;
        m_out.text += "\r\n";
        m_last = kind;
    }

    GuideText m_out;
    Kind m_last = Kind::None;
};

void WriteTable(Writer& w, const std::vector<std::string_view>& rows)
{
    std::vector<std::string> header;
    for (std::string_view cell : Cells(rows.front()))
        header.push_back(CellText(cell));
    for (std::size_t r = 1; r < rows.size(); ++r) {
        if (IsDelimiterRow(rows[r]))
            continue;
        const std::vector<std::string_view> cells = Cells(rows[r]);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string text = CellText(cells[c]);
            if (text.empty())
                continue; // an empty first cell: the row goes on the item above
            if (c == 0)
                w.Other(kRowMark + text);
            else
                w.Other(kCellIndent + (c < header.size() ? header[c] + kCellColon : "") + text);
        }
    }
}

} // namespace

GuideText RenderGuide(std::string_view markdown)
{
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= markdown.size();) {
        std::size_t end = markdown.find('\n', start);
        if (end == std::string_view::npos)
            end = markdown.size();
        std::string_view line = markdown.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }

    Writer w;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view trimmed = Trim(line);
        const std::size_t indent = Indent(line);
        std::size_t markerEnd = 0;
        bool bullet = false;
        if (trimmed.empty()) {
            w.Blank();
        } else if (trimmed.starts_with("```")) {
            // Shown as it is, indented under what it belongs to.
            for (++i; i < lines.size() && !Trim(lines[i]).starts_with("```"); ++i) {
                std::string_view code = lines[i];
                code.remove_prefix(std::min(indent, Indent(code)));
                w.Other(std::string(indent, ' ') + kCodeIndent + std::string(code));
            }
        } else if (const int level = HeadingLevel(trimmed)) {
            std::string_view title = Trim(trimmed.substr(static_cast<std::size_t>(level)));
            while (!title.empty() && title.back() == '#')
                title.remove_suffix(1);
            w.Heading(level, Inline(Trim(title)));
        } else if (trimmed.front() == '|') {
            std::vector<std::string_view> rows;
            for (; i < lines.size() && Trim(lines[i]).starts_with("|"); ++i)
                rows.push_back(lines[i]);
            --i;
            WriteTable(w, rows);
        } else if (IsListItem(trimmed, markerEnd, bullet)) {
            const std::string mark = bullet ? kListMark : std::string(trimmed.substr(0, markerEnd));
            w.Paragraph(std::string(indent, ' ') + mark + Inline(trimmed.substr(markerEnd)));
        } else {
            const std::string text = Inline(trimmed);
            if (text.empty())
                continue; // an image alone on its line
            if (!w.Continue(text))
                w.Paragraph(std::string(indent, ' ') + text);
        }
    }
    return w.Finish();
}
