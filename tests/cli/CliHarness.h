#pragma once
// Runs the command line in process over memory devices, or the built program in a process of its
// own with its standard output on a pipe.

#include "cli/Run.h"

#include <functional>
#include <string>
#include <vector>

class MemoryDevice : public Device {
public:
    WriteStatus Write(std::string_view bytes) override;
    std::string bytes;
    int writes = 0;
    std::vector<double> writeTimes; // MonotonicSeconds at each write
    // After this many bytes the device refuses with failAs.
    std::size_t room = std::string::npos;
    WriteStatus failAs = WriteStatus::Failed;
    // When set, bytes are counted but not kept, and the device closes once it returns true.
    std::function<bool()> closeWhen;
    bool terminal = false;
    bool IsTerminal() const override { return terminal; }
};

struct CliRun {
    int status;
    std::string out, err;
};

// args after the program's name, in UTF-8.
CliRun RunInProcess(const std::vector<std::string>& args);

// The message of a refusal as the command line prints it: the page's text in UTF-8 and a line end.
std::string Utf8Line(const char8_t* text);
std::string Utf8Text(const char8_t* text);

struct ProcessRun {
    int status = -1;
    std::string out;    // what was read before the pipe was closed
    double seconds = 0; // from the start until the program ended
    bool ended = false; // within the deadline
};

// Starts the built zanfor-cli, reads up to readBytes of its output, then closes the pipe and waits
// at most deadlineSeconds for the program to end.
ProcessRun RunProgramAndClosePipe(const std::vector<std::string>& args, std::size_t readBytes,
                                  double deadlineSeconds);
// The path of the built zanfor-cli.
std::string ProgramPath();
