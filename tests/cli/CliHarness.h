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
    // Called after each write that was kept.
    std::function<void()> afterWrite;
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
    int status = -1;    // Linux: 128 + the signal that ended it, as a shell says
    std::string out;    // what was read before the pipe was closed
    std::string err;    // its standard error
    double seconds = 0; // from the start until the program ended
    bool ended = false; // within the deadline
};

// How the reader of the program's standard output goes away.
enum class PipeEnd {
    Closed,
    Disconnected, // Windows: a named pipe's server disconnects its client
};

// Starts the built zanfor-cli, reads up to readBytes of its output, then ends the pipe and waits
// at most deadlineSeconds for the program to end.
ProcessRun RunProgramAndClosePipe(const std::vector<std::string>& args, std::size_t readBytes,
                                  double deadlineSeconds, PipeEnd end = PipeEnd::Closed);
// Starts the built zanfor-cli with its standard error closed and waits for it to end.
ProcessRun RunProgramWithoutStderr(const std::vector<std::string>& args, double deadlineSeconds);
// Starts the built zanfor-cli writing into file (args hold -o file), waits until the file holds
// fileBytes, then interrupts it as Ctrl-C does (Linux: SIGINT; Windows: a console's Ctrl-C) and
// waits for it to end; each wait at most deadlineSeconds.
ProcessRun RunProgramAndInterrupt(const std::vector<std::string>& args, const std::string& file,
                                  std::size_t fileBytes, double deadlineSeconds);
// The path of the built zanfor-cli.
std::string ProgramPath();
