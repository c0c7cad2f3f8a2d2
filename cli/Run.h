#pragma once
// The command line from its arguments to its exit status, over devices that the caller gives: the
// real standard output and error in the program, memory in the tests.

#include "Language.h"
#include "System.h"

#include <atomic>
#include <string>
#include <vector>

constexpr int EXIT_DONE = 0;
constexpr int EXIT_FAILED = 1;        // the output could not be written, or a program not started
constexpr int EXIT_REFUSED = 2;       // an invalid setting or a usage error: nothing was written
constexpr int EXIT_PIPE_CLOSED = 141; // the reader closed the pipe: ends quietly, as by SIGPIPE
// Ctrl-C ended the run: what the system gives a program that the interrupt ends, so that a caller
// tells it as it would any interrupted program (a shell: 128 + SIGINT; Windows:
// STATUS_CONTROL_C_EXIT, which cmd.exe asks "Terminate batch job?" after).
// SIGTERM and SIGHUP too (the program itself then ends by that signal: 143, 129).
#ifdef _WIN32
constexpr int EXIT_INTERRUPTED = static_cast<int>(0xC000013Au);
#else
constexpr int EXIT_INTERRUPTED = 130;
#endif
// Linux: the file-size limit (ulimit -f) ended the run after its last whole record; 128 + SIGXFSZ,
// as the limit's own signal would have ended it.
constexpr int EXIT_FILE_SIZE_LIMIT = 153;

// args: the arguments after the program's name, in UTF-8; language: of every message and the
// help; clock: what events wait on and the progress line reads. interrupted, when set, ends the
// run after the records being made.
int RunCli(const std::vector<std::string>& args, Language language, Device& out, Device& err,
           Clock& clock, const std::atomic<bool>* interrupted = nullptr);
