// The command line's system calls on Linux.
#include "System.h"

#include "StartRules.h"
#include "platform/SystemError.h"
#include "platform/TextConversion.h"
#include "platform/WriteAll.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <libintl.h>
#include <locale.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class FdDevice : public Device {
public:
    // gb18030: text for people goes out in GB18030, the locale's (records keep --encoding).
    FdDevice(int fd, bool owned, bool gb18030 = false)
        : m_fd(fd), m_owned(owned), m_gb18030(gb18030)
    {
    }
    WriteStatus WriteConsoleText(std::string_view utf8) override
    {
        std::string text;
        if (m_gb18030)
            AppendGb18030FromUtf8(utf8, text);
        return Write(m_gb18030 ? text : utf8);
    }
    ~FdDevice() override
    {
        if (m_owned && m_fd >= 0)
            ::close(m_fd);
    }

    WriteStatus Write(std::string_view bytes) override
    {
        m_written = 0;
        m_error =
            WriteAll(m_fd, bytes, [this](std::string_view piece) { m_written += piece.size(); });
        if (m_error == 0)
            return WriteStatus::Ok;
        if (m_error == EPIPE)
            return WriteStatus::Closed;
        // With SIGXFSZ ignored, the file-size limit takes the bytes up to it and then says EFBIG.
        return m_error == EFBIG ? WriteStatus::Limited : WriteStatus::Failed;
    }

    std::size_t LastWritten() const override { return m_written; }

    bool TakeBack(std::size_t n) override
    {
        if (n == 0)
            return true;
        const off_t end = ::lseek(m_fd, 0, SEEK_CUR);
        if (end < static_cast<off_t>(n) || ::ftruncate(m_fd, end - static_cast<off_t>(n)) != 0 ||
            ::lseek(m_fd, end - static_cast<off_t>(n), SEEK_SET) < 0) {
            m_error = end < 0 || errno == 0 ? EIO : errno;
            return false;
        }
        return true;
    }

    bool IsTerminal() const override { return ::isatty(m_fd) == 1; }

    WriteStatus Finish() override
    {
        if (!m_owned || m_fd < 0)
            return WriteStatus::Ok;
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0) { // a file system may report a failed write only here
            m_error = errno;
            return WriteStatus::Failed;
        }
        return WriteStatus::Ok;
    }

    std::string ErrorText() const override { return m_error ? SystemErrorUtf8(m_error) : ""; }

private:
    int m_fd;
    bool m_owned, m_gb18030;
    int m_error = 0;
    std::size_t m_written = 0;
};

std::atomic<bool> g_interrupted{false};
std::atomic<int> g_signal{0}; // the first interrupt's signal
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "set from a signal handler");

void OnInterrupt(int signal)
{
    int none = 0;
    g_signal.compare_exchange_strong(none, signal);
    g_interrupted = true;
}

// Whether the program that posix_spawnp could not execute (EACCES) is a folder: the name as a
// path, or where PATH has it, as a folder and never as a file.
bool NamesAFolder(const std::string& name)
{
    struct stat st {};
    if (name.find('/') != std::string::npos)
        return ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/bin:/usr/bin";
    bool folder = false;
    while (true) {
        const std::size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        const std::string candidate =
            (dir.empty() ? std::string(".") : std::string(dir)) + "/" + name;
        if (::stat(candidate.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode))
                return false;
            folder = true;
        }
        if (colon == std::string_view::npos)
            return folder;
        dirs.remove_prefix(colon + 1);
    }
}

} // namespace

namespace cli_system {

bool OpenStandardStreams()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number: the ones below are open by now.
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (opened != fd) {
            if (opened >= 0)
                ::close(opened);
            return false;
        }
    }
    return true;
}

const std::atomic<bool>* CatchInterrupt()
{
    // Ctrl-C, kill's default and a terminal that went away: each stops the run alike.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction now {};
        if (sigaction(signal, nullptr, &now) != 0 || now.sa_handler == SIG_IGN)
            continue;
        struct sigaction on {};
        on.sa_handler = OnInterrupt;
        sigemptyset(&on.sa_mask);
        // Without SA_RESTART a wait is cut short; SA_RESETHAND makes a second one end the
        // program, should a write hang.
        on.sa_flags = SA_RESETHAND;
        sigaction(signal, &on, nullptr);
    }
    std::signal(SIGXFSZ, SIG_IGN);
    return &g_interrupted;
}

void EndAsInterrupted(Interruption how)
{
    int signal = g_signal != 0 ? g_signal.load() : SIGINT;
    if (how == Interruption::FileSizeLimit) {
        signal = SIGXFSZ;
        // Its default action dumps core: a limit that was reached is no crash.
        const rlimit none{0, 0};
        setrlimit(RLIMIT_CORE, &none);
    }
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal);
}

std::uint64_t MemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    std::uint64_t bytes = pages > 0 && pageSize > 0 ? static_cast<std::uint64_t>(pages) *
                                                          static_cast<std::uint64_t>(pageSize)
                                                    : UINT64_MAX;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        bytes = std::min<std::uint64_t>(bytes, limit.rlim_cur);
    return bytes;
}

std::unique_ptr<Device> StandardOutput()
{
    // A closed pipe is a status to act on, not a signal that kills the program mid-write.
    std::signal(SIGPIPE, SIG_IGN);
    return std::make_unique<FdDevice>(STDOUT_FILENO, false, TextIsGb18030());
}

std::unique_ptr<Device> StandardError()
{
    return std::make_unique<FdDevice>(STDERR_FILENO, false, TextIsGb18030());
}

bool TextIsGb18030()
{
    return LocaleIsGb18030(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
}

std::unique_ptr<Device> CreateFileDevice(const std::string& pathUtf8, std::string& error)
{
    const int fd = ::open(pathUtf8.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = SystemErrorUtf8(errno);
        return nullptr;
    }
    return std::make_unique<FdDevice>(fd, true);
}

Language MessageLanguage()
{
    // The system's own words (strerror) in the same language, as UTF-8 whatever LC_CTYPE is.
    setlocale(LC_MESSAGES, "");
    bind_textdomain_codeset("libc", "UTF-8");
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                              std::getenv("LANG"));
}

double MonotonicSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void SleepMilliseconds(int ms)
{
    timespec t{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

Timestamp Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm t{};
    localtime_r(&now.tv_sec, &t);
    return {{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec},
            static_cast<int>(now.tv_nsec / 1000000),
            static_cast<int>(t.tm_gmtoff / 60)};
}

bool StartCommand(const std::vector<std::string>& wordsUtf8, const Words& w, std::string& why)
{
    // Its end is not awaited: the ones that ended by now are reaped at each start, and those
    // still running when this program ends go to init. (Not SIGCHLD ignored, which would change
    // what the whole process, and every program it starts, sees of its children.)
    static std::vector<pid_t> started;
    std::erase_if(started, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
    // What this program ignores for its own sake is no business of the one it starts: with
    // SIGPIPE ignored "yes | head -1" complains of a broken pipe, with SIGCHLD ignored a wait for
    // a child finds none. The mask is emptied too. (A signal ignored by whoever started this
    // program, say by nohup, is left as it was.) posix_spawnp reports a program that could not
    // be executed as its own failure.
    sigset_t defaults, none;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGCHLD, SIGXFSZ})
        sigaddset(&defaults, signal);
    sigemptyset(&none);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    std::vector<char*> argv;
    for (const std::string& word : wordsUtf8)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    const int error = posix_spawnp(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error == 0)
        started.push_back(pid);
    if (error != 0)
        why = error == EACCES && NamesAFolder(wordsUtf8.front()) ? FolderText(w)
                                                                 : SystemErrorUtf8(error);
    return error == 0;
}

bool StartProgram(const std::string& programUtf8, const Words& w, std::string& why)
{
    return StartCommand({programUtf8}, w, why); // the whole text names the program
}

std::optional<std::string> RefuseCommand(const std::vector<std::string>&, const Words&)
{
    return std::nullopt; // a program gets its arguments as they are
}

} // namespace cli_system
