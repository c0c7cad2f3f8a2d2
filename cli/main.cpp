// zanfor-cli: the three generators on the command line.
#include "Run.h"

#include <new>

#ifdef _WIN32
#include "platform/TextConversion.h"

#include <windows.h>

// Wide arguments: every name and text arrives whatever the code page.
int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        AppendFromWide(args.emplace_back(), argv[i], CP_UTF8);
#else
#include "platform/TextConversion.h"

// Arguments are taken as UTF-8, as a Linux system's are, or GB18030 under such a locale.
int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::string& arg : args)
        if (std::string utf8; cli_system::TextIsGb18030() && Utf8FromGb18030(arg, utf8))
            arg = utf8;
#endif
    if (!cli_system::OpenStandardStreams())
        return EXIT_FAILED; // with no stream that is safe to say it on
    auto out = cli_system::StandardOutput();
    auto err = cli_system::StandardError();
    const std::atomic<bool>* interrupted = cli_system::CatchInterrupt();
    try {
        cli_system::SystemClock clock;
        const int status =
            RunCli(args, cli_system::MessageLanguage(), *out, *err, clock, interrupted);
        if (status == EXIT_INTERRUPTED)
            cli_system::EndAsInterrupted(cli_system::Interruption::Signal);
        if (status == EXIT_FILE_SIZE_LIMIT)
            cli_system::EndAsInterrupted(cli_system::Interruption::FileSizeLimit);
        return status;
    } catch (const std::bad_alloc&) {
        const Words w(cli_system::MessageLanguage());
        err->WriteConsoleText(
            w("out of memory: the output is incomplete", u8"内存不足，输出不完整。") + "\n");
        return EXIT_FAILED;
    }
}
