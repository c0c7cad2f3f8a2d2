#pragma once
// How a program is started, where a rule is not the system's: Windows runs a batch file through
// cmd.exe, which reads its command line as a shell does (& | < > ^ run commands, %NAME% expands,
// quotes toggle all that), so the command line of a batch file is written here, or refused when
// an argument cannot reach the batch file as it is. Portable, so that the rules are one text
// whichever system builds the line.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Whether a program's name names a batch file, which Windows runs through cmd.exe: ".bat" or
// ".cmd" in any case, also behind trailing dots and blanks or a stream name ("x.bat.",
// "x.bat::$DATA"), which the file system takes as the same file.
bool NamesABatchFile(const std::string& nameUtf8);

enum class BatchProblem {
    Quote,     // no quoting passes a double quote to a batch file as it is
    Percent,   // %NAME% expands, and cmd.exe versions disagree on every way of escaping it
    LineBreak, // a line break ends the command
};

struct BatchRefusal {
    std::size_t argument = 0; // 1 for the first argument; 0 for the batch file's own path
    BatchProblem problem = BatchProblem::Quote;
};

// The command text for "cmd.exe /d /e:ON /v:OFF /s /c <text>" that runs the batch file at path
// (UTF-8) with args, each of which the batch file then reads back as it is in %~1, %~2, ...: the
// whole wrapped in one more pair of quotes, which /s takes off; an argument quoted when it holds
// anything but letters, digits and #$*+-./:?@\_ (inside quotes & | < > ^ ( ) and the blanks and
// separators are plain text, and delayed expansion is off). Or the first argument that cannot
// reach it so.
std::optional<BatchRefusal>
BatchCommandText(const std::string& path, const std::vector<std::string>& args, std::string& text);
