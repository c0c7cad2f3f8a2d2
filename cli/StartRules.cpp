#include "StartRules.h"

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

std::string BatchRefusalText(const Words& w, const std::string& program,
                             const BatchRefusal& refusal, const std::string& argument)
{
    std::string english, chinese;
    switch (refusal.problem) {
    case BatchProblem::Quote:
        english = "cmd.exe, which runs batch files, cannot pass on a double quote";
        chinese = U8(u8"运行批处理文件的 cmd.exe 无法原样传递双引号！");
        break;
    case BatchProblem::Percent:
        english = "cmd.exe, which runs batch files, would read the % sign as part of a variable";
        chinese = U8(u8"运行批处理文件的 cmd.exe 会把 % 号当作变量的一部分！");
        break;
    case BatchProblem::LineBreak:
        english = "cmd.exe, which runs batch files, would end the command at the line break";
        chinese = U8(u8"运行批处理文件的 cmd.exe 会在换行处结束命令！");
        break;
    }
    if (refusal.argument == 0)
        return w.Pick("the path of the batch file " + w.Quoted(program) + " cannot be handed to " +
                          "cmd.exe as it is: " + english,
                      U8(u8"批处理文件") + w.Quoted(program) +
                          U8(u8"的路径无法原样交给 cmd.exe：") + chinese);
    const std::string n = std::to_string(refusal.argument);
    return w.Pick("argument " + n + " " + w.Quoted(argument) +
                      " cannot be handed to the batch file " + w.Quoted(program) +
                      " as it is: " + english,
                  U8(u8"参数 ") + n + w.Quoted(argument) + U8(u8"无法原样交给批处理文件") +
                      w.Quoted(program) + U8(u8"：") + chinese);
}

std::string FolderText(const Words& w)
{
    return w("it is a folder, not a program", u8"这是文件夹，不是程序");
}
