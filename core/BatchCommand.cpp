#include "BatchCommand.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() &&
           std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

// Plain to cmd.exe outside quotes, and never a separator of a batch file's arguments.
bool Plain(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("#$*+-./:?@\\_").find(c) != std::string_view::npos;
}

std::optional<BatchProblem> Problem(std::string_view text)
{
    if (text.find('"') != std::string_view::npos)
        return BatchProblem::Quote;
    if (text.find('%') != std::string_view::npos)
        return BatchProblem::Percent;
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return BatchProblem::LineBreak;
    return std::nullopt;
}

} // namespace

bool NamesABatchFile(const std::string& nameUtf8)
{
    std::string_view name = nameUtf8;
    if (const std::size_t slash = name.find_last_of("\\/"); slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    name = name.substr(0, name.find(':')); // "x.bat::$DATA" is the file x.bat
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.remove_suffix(1);
    return EndsWithNoCase(name, ".bat") || EndsWithNoCase(name, ".cmd");
}

std::optional<BatchRefusal>
BatchCommandText(const std::string& path, const std::vector<std::string>& args, std::string& text)
{
    for (std::size_t i = 0; i <= args.size(); ++i)
        if (const auto problem = Problem(i == 0 ? path : args[i - 1]))
            return BatchRefusal{i, *problem};
    text = "\"\"" + path + '"';
    for (const std::string& arg : args) {
        text += ' ';
        // An empty argument quoted too: it would vanish otherwise.
        if (!arg.empty() && std::all_of(arg.begin(), arg.end(), Plain))
            text += arg;
        else
            text += '"' + arg + '"';
    }
    text += '"';
    return std::nullopt;
}
