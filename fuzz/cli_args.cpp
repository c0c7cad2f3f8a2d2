// zanfor-cli's command line on arbitrary arguments, the input cut at every NUL byte, in both of its
// languages: the parser throws nothing and ends in one of three ways (a command to run; help or
// version text with status 0; a usage error with status 2), and a command's settings are then read
// and checked by the pages' rules, its numbers read strictly first, then by the command line's own
// (the characters to draw from, the exact range, what --unique can make).
#include "cli/Options.h"
#include "cli/Settings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    while (!input.empty()) {
        const std::size_t end = input.find('\0');
        args.emplace_back(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }

    for (const Language language : {Language::English, Language::Chinese}) {
        const ParseOutcome parsed = ParseCommandLine(args, language);
        const bool consistent =
            parsed.options ? parsed.exitCode == 0 && parsed.out.empty() && parsed.err.empty()
            : parsed.exitCode == 0 ? !parsed.out.empty() && parsed.err.empty()
                                   : parsed.exitCode == 2 && !parsed.err.empty();
        if (!consistent) {
            std::fprintf(stderr, "outcome: options %d, status %d, out \"%s\", err \"%s\"\n",
                         parsed.options.has_value(), parsed.exitCode, parsed.out.c_str(),
                         parsed.err.c_str());
            std::abort();
        }
        if (parsed.options) {
            Settings settings;
            CheckSettings(*parsed.options, settings, std::uint64_t{1} << 30);
        }
    }
    return 0;
}
