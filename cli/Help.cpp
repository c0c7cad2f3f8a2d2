#include "Help.h"

namespace {

constexpr std::size_t COLUMN = 26; // where the descriptions start

// "  --min-length N" padded to the descriptions' column. The left side is ASCII: one byte, one
// column.
std::string Line(const std::string& left, const std::string& description)
{
    std::string line = "  " + left;
    line.append(line.size() + 2 <= COLUMN ? COLUMN - line.size() : 2, ' ');
    return line + description + "\n";
}

} // namespace

std::string MainDescription(const Words& w)
{
    return w("Random test data from the command line: strings, whole and decimal numbers, "
             "timestamped events. Without --seed every draw comes from the system's secure "
             "random source, uniform over the whole range; --seed S repeats the page's draws "
             "byte for byte. Every default is the page's. A number must be the whole argument, "
             "within its setting's range; the settings are then checked as the page checks "
             "them. Records go to standard output or -o FILE, one a line.",
             u8"命令行上的随机测试数据：字符串、整数和小数、带时间戳的事件。不加 --seed "
             u8"时，每次抽取都来自系统的安全随机源，在整个范围内均匀分布；--seed S "
             u8"逐字节重现页面的抽取。各项默认值与页面相同。数字参数必须整个是数字，且在该"
             u8"设定的范围内；随后按页面的规则检查各项设定。结果写到标准输出或 -o "
             u8"FILE，每行一条。");
}

std::string CommandDescription(const Words& w, const std::string& command)
{
    if (command == "strings")
        return w("Random strings: passwords, user names, codes; --seed: as the strings page "
                 "makes them",
                 u8"随机字符串：密码、用户名、编号；--seed：同字符串页");
    if (command == "numbers")
        return w("Random whole and decimal numbers; --seed: as the numbers page makes them",
                 u8"随机整数和小数；--seed：同数字页");
    return w("Timestamped events at random intervals; each line goes out the moment it happens",
             u8"随机间隔的带时间戳事件；每个事件发生时立即输出一行");
}

std::string HelpFormatter::OptionLines(const CLI::App* app, bool helpFlags) const
{
    std::string lines;
    for (const CLI::Option* opt : app->get_options([&](const CLI::Option* o) {
             return o->nonpositional() &&
                    (helpFlags || (o != app->get_help_ptr() && o != app->get_help_all_ptr()));
         })) {
        std::string left;
        for (const std::string& name : opt->get_snames())
            left += "-" + name + ", ";
        for (const std::string& name : opt->get_lnames())
            left += (left.empty() || left.ends_with(", ") ? "--" : ", --") + name;
        if (opt->get_type_size() != 0)
            left += " " + opt->get_type_name();
        std::string description = opt->get_description();
        if (!opt->get_default_str().empty())
            description +=
                m_w(" (default ", u8"（默认 ") + opt->get_default_str() + m_w(")", u8"）");
        lines += Line(left, description);
    }
    if (app->get_name() == "events")
        lines += Line("-- PROGRAM ARGS...",
                      m_w("After all options: start PROGRAM with these arguments at every event",
                          u8"放在所有选项之后：每个事件时以这些参数启动 PROGRAM"));
    return lines;
}

std::string HelpFormatter::make_expanded(const CLI::App* sub) const
{
    return "\n" + sub->get_description() + " (zanfor-cli " + sub->get_name() + " [OPTIONS]):\n" +
           OptionLines(sub, false);
}

std::string HelpFormatter::make_help(const CLI::App* app, std::string name,
                                     CLI::AppFormatMode mode) const
{
    const std::string usage = m_w("Usage: ", u8"用法：");
    const std::string options = "\n" + m_w("Options:", u8"选项：") + "\n";
    if (app->get_parent()) {
        std::string text = app->get_description() + "\n\n" + usage + name + " [OPTIONS]";
        if (app->get_name() == "events")
            text += " [-- PROGRAM ARGS...]";
        return text + "\n" + options + OptionLines(app, true);
    }
    std::string text = app->get_description() + "\n\n" + usage + name + " COMMAND [OPTIONS]\n\n" +
                       m_w("Commands:", u8"命令：") + "\n";
    for (const CLI::App* sub : app->get_subcommands({}))
        text += Line(sub->get_name(), sub->get_description());
    text += options + OptionLines(app, true);
    if (mode == CLI::AppFormatMode::All) {
        for (const CLI::App* sub : app->get_subcommands({}))
            text += make_expanded(sub);
    } else {
        text += "\n" +
                m_w("Run 'zanfor-cli COMMAND --help' for a command's options.",
                    u8"运行 zanfor-cli COMMAND --help 查看某个命令的选项。") +
                "\n";
    }
    return text;
}
