#pragma once
// The command line from its arguments to its exit status, over devices that the caller gives: the
// real standard output and error in the program, memory in the tests.

#include "System.h"

#include <string>
#include <vector>

constexpr int EXIT_DONE = 0;
constexpr int EXIT_FAILED = 1;        // the output could not be written, or a program not started
constexpr int EXIT_REFUSED = 2;       // an invalid setting or a usage error: nothing was written
constexpr int EXIT_PIPE_CLOSED = 141; // the reader closed the pipe: ends quietly, as by SIGPIPE

// args: the arguments after the program's name, in UTF-8.
int RunCli(const std::vector<std::string>& args, Device& out, Device& err);
