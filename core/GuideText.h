#pragma once
// The user guide, written in Markdown, as plain text for a box that shows text: headings, lists,
// tables, emphasis, code and links are simplified so that no markup shows, and the headings are
// listed with where each starts. UTF-8 in and out: a GBK trail byte can look like '|', '\\' or
// '`', a byte of UTF-8 never does, so the markup is found safely only before any conversion.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct GuideSection {
    int level;          // 1 for "#", 2 for "##", ...
    std::string title;  // as shown, markup removed
    std::size_t offset; // byte in GuideText::text where the heading's line starts
};

struct GuideText {
    std::string text; // lines ended by "\r\n", as a multi-line edit box wants them
    std::vector<GuideSection> sections;
};

// Headings stand out as 【title】 (level 2) and ■ title (deeper); list items keep their marks; a
// table row becomes "● first cell" with one "header：cell" line for every other cell that is not
// empty; lines of a paragraph are joined; code blocks are indented; images are left out.
GuideText RenderGuide(std::string_view markdown);
