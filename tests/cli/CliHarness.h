#pragma once
// Runs the command line in process over memory devices, or the built program in a process of its
// own with its standard output on a pipe.

#include "cli/Run.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

// A clock the test drives: its time moves only when a run waits on it and when the test advances
// it, so that no test waits out a delay or depends on the machine's speed. A run's wait jumps to
// its deadline, unless the clock is held: then it lasts until the run is stopped.
class FakeClock : public Clock {
public:
    double Seconds() override { return m_now; }
    void WaitUntil(double deadline, const std::atomic<bool>* stop) override;
    // 2026-12-07, the time of day from Seconds(), 8 hours ahead of UTC.
    Timestamp Now() override;
    void Advance(double seconds) { m_now = m_now + seconds; }
    std::atomic<bool> hold{false};
    std::atomic<bool> waiting{false}; // a run waits on the held clock
private:
    std::atomic<double> m_now{1000};
};

class MemoryDevice : public Device {
public:
    WriteStatus Write(std::string_view bytes) override;
    std::string bytes;
    int writes = 0;
    Clock* clock = nullptr;         // what writeTimes reads; the system's when null
    std::vector<double> writeTimes; // the clock's seconds at each write
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

// args after the program's name, in UTF-8; by default in Chinese, where a refusal is the page's
// own text. Events take no time: the run's clock is a FakeClock.
CliRun RunInProcess(const std::vector<std::string>& args, Language language = Language::Chinese);

// What ends a record unless --lf or --crlf says otherwise.
#ifdef _WIN32
inline const std::string RECORD_END = "\r\n";
#else
inline const std::string RECORD_END = "\n";
#endif
// The records of text, each ended by end.
std::vector<std::string> Lines(const std::string& text, const std::string& end = RECORD_END);

// The message of a refusal as the command line prints it: the page's text in UTF-8 and a line end.
std::string Utf8Line(const char8_t* text);
std::string Utf8Text(const char8_t* text);

// How the built zanfor-cli is run in a process of its own.
struct ProgramRun {
    std::vector<std::string> args{}; // after the program's name
    // Read this much of its standard output from a pipe, then end the pipe; 0: the output goes
    // to the null device.
    std::size_t readBytes = 0;
    enum PipeEnd {
        Closed,
        Disconnected, // Windows: a named pipe's server disconnects its client
    } pipeEnd = Closed;
    bool closeStderr = false; // start it with standard error closed
    // Interrupt it as Ctrl-C does (Linux: SIGINT; Windows: a console's Ctrl-C) once this file
    // holds interruptBytes.
    std::string interruptFile{};
    std::size_t interruptBytes = 0;
    // Linux: read all of its standard output from a pipe, and send it interruptSignal once this
    // much has come.
    std::size_t interruptAfterOutput = 0;
    int interruptSignal = 2; // Linux: SIGINT, as Ctrl-C
    // Linux: the file-size limit it starts with (ulimit -f), in bytes; 0: the test's own.
    unsigned long long fileSizeLimit = 0;
    double deadlineSeconds = 60; // for each wait
};

struct ProcessRun {
    int status = -1;    // Linux: 128 + the signal that ended it, as a shell says
    std::string out;    // what was read before the pipe was ended
    std::string err;    // its standard error
    double seconds = 0; // from the start until the program ended
    bool ended = false; // within the deadline
};

ProcessRun RunProgram(const ProgramRun& how);
// The path of the built zanfor-cli.
std::string ProgramPath();
std::string FileText(const std::string& path);
