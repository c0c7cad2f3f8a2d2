#pragma once
// Help text folded to a terminal's width: words break at spaces, Chinese text (two columns a
// character) between any two characters, never before a closing mark (，。）) nor after an
// opening one (（“).

#include <cstddef>
#include <string>
#include <string_view>

// The columns UTF-8 text takes on a terminal.
std::size_t TextColumns(std::string_view utf8);

// utf8 (one paragraph, no line break) in lines of at most width columns where its words allow:
// the first line starts at column first (whatever stands before it is the caller's), every
// further one with indent spaces.
std::string WrapText(std::string_view utf8, std::size_t width, std::size_t first,
                     std::size_t indent);
