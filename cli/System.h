#pragma once
// What the command line needs of the operating system beyond the platform layer: its output
// devices, the clock, the program launcher, Ctrl-C and the other interrupts, and the memory size.
// One implementation per platform.

#include "Language.h"
#include "core/EventsRules.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class WriteStatus {
    Ok,
    Closed,  // the reader went away (a closed pipe): nothing more can be delivered
    Failed,  // a real failure (a full disk, say): ErrorText says why
    Limited, // Linux: the file-size limit (ulimit -f) stopped the write; LastWritten bytes went
};

// Where bytes go: standard output or error, a file, or memory in the tests.
class Device {
public:
    virtual ~Device() = default;
    // All of bytes, or a status saying why not.
    virtual WriteStatus Write(std::string_view bytes) = 0;
    // A Windows console: text given in UTF-8 goes to it as UTF-16 and reads right on any code
    // page.
    virtual bool IsConsole() const { return false; }
    virtual WriteStatus WriteConsoleText(std::string_view utf8) { return Write(utf8); }
    // A terminal or console, where a progress line may be drawn.
    virtual bool IsTerminal() const { return false; }
    // Ends the output: a file is closed, and Failed when its last bytes could not be stored.
    virtual WriteStatus Finish() { return WriteStatus::Ok; }
    // The system's words for the last failure, in UTF-8.
    virtual std::string ErrorText() const { return {}; }
    // After Limited: how many bytes of the last Write went.
    virtual std::size_t LastWritten() const { return 0; }
    // Takes the last n bytes written back out of a file; false when that could not be done.
    virtual bool TakeBack(std::size_t n) { return n == 0; }
};

// The clock a run is handed: the program's is the system's (below), a test's one it drives.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds from an arbitrary start, never going back.
    virtual double Seconds() = 0;
    // Returns once Seconds() has reached deadline, or sooner once *stop is set (a delay of a
    // minute ends at once).
    virtual void WaitUntil(double deadline, const std::atomic<bool>* stop) = 0;
    virtual Timestamp Now() = 0;
};

namespace cli_system {

// Sees that the standard streams are open before anything else is: a closed one is opened on the
// null device the wrong way round (standard input for writing, output and error for reading), so
// that no file opened later takes its number and receives what was meant for it, while a write to
// a closed standard output still fails as it did. False when that could not be done.
bool OpenStandardStreams();

// From now on an interrupt (Linux: SIGINT, SIGTERM, SIGHUP; Windows: a console's Ctrl-C or
// Ctrl-Break) sets the flag returned instead of ending the process, so that the run can stop at a
// record boundary; a second one of the same kind ends the process at once. A signal ignored by
// whoever started the program stays ignored. Linux: SIGXFSZ is ignored as well, so that a write
// past the file-size limit fails (WriteStatus::Limited) instead of ending the program mid-record.
const std::atomic<bool>* CatchInterrupt();
enum class Interruption {
    Signal,        // the interrupt that CatchInterrupt caught
    FileSizeLimit, // Linux: the file-size limit, whose signal is SIGXFSZ
};
// After a run that an interruption ended: ends the process as the interruption itself would have
// (Linux: killed by its signal, which a shell running a script acts on: 130 for SIGINT, 143 for
// SIGTERM, 129 for SIGHUP, 153 for SIGXFSZ); returns where there is no such way.
void EndAsInterrupted(Interruption how);

// The memory a run may fill: the machine's physical memory, or less where the process's address
// space is smaller (a 32-bit process) or limited.
std::uint64_t MemoryBytes();

// Linux: text for people (help, messages) goes to both in GB18030 under a GB18030 locale
// (TextIsGb18030), in UTF-8 otherwise.
bool TextIsGb18030();
std::unique_ptr<Device> StandardOutput();
std::unique_ptr<Device> StandardError();
// Creates the file, or empties it; null with the system's words in error (UTF-8).
std::unique_ptr<Device> CreateFileDevice(const std::string& pathUtf8, std::string& error);

// The language of the user's messages: Linux, the locale's (LC_ALL, LC_MESSAGES, LANG); Windows,
// the user's display language.
Language MessageLanguage();

// Seconds from an arbitrary start, never going back.
double MonotonicSeconds();
void SleepMilliseconds(int ms);
// The local time now.
Timestamp Now();
// Starts the program named by the whole text, as the interval page does (Windows: the shell's
// "open"; Linux: from PATH), without waiting for it; false with the reason in why (the system's
// words, or w's) when it could not start.
bool StartProgram(const std::string& programUtf8, const Words& w, std::string& why);
// Starts the program words[0] with the arguments that follow, each handed over as it is, without
// waiting for it, and never through a shell that would act on them (Linux: a program starts with
// the default handling of every signal that this one ignores, and an empty signal mask); false
// with the reason in why when it could not start.
bool StartCommand(const std::vector<std::string>& wordsUtf8, const Words& w, std::string& why);
// Why the arguments cannot reach the program words[0] as they are, in w's words, before anything
// starts: Windows, a batch file (StartRules.h); nothing otherwise.
std::optional<std::string> RefuseCommand(const std::vector<std::string>& wordsUtf8, const Words& w);

// The system's clock: waits in short sleeps, so that a stop asked for ends a long one at once.
class SystemClock : public Clock {
public:
    double Seconds() override { return MonotonicSeconds(); }
    void WaitUntil(double deadline, const std::atomic<bool>* stop) override
    {
        for (double now; (now = Seconds()) < deadline && !(stop && *stop);)
            SleepMilliseconds(static_cast<int>(std::min(50.0, (deadline - now) * 1000) + 1));
    }
    Timestamp Now() override { return cli_system::Now(); }
};

} // namespace cli_system
