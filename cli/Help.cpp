#include "Commands.h"
#include "core/TextWrap.h"

namespace {

constexpr std::size_t COLUMN = 26, WIDTH = 80; // where the descriptions start; a terminal's width

// "  --min-length N" padded to the descriptions' column. The left side is ASCII: one byte, one
// column.
std::string Line(const std::string& left, const std::string& description)
{
    std::string line = "  " + left;
    line.append(line.size() + 2 <= COLUMN ? COLUMN - line.size() : 2, ' ');
    return line + WrapText(description, WIDTH, line.size(), COLUMN) + "\n";
}

} // namespace

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
    // A heading of its own line, which help2man makes a section of.
    return "\n" + m_w("Options of ", u8"命令 ") + "zanfor-cli " + sub->get_name() +
           m_w(":", u8" 的选项：") + "\n" + OptionLines(sub, false);
}

std::string HelpFormatter::make_help(const CLI::App* app, std::string name,
                                     CLI::AppFormatMode mode) const
{
    const std::string usage = m_w("Usage: ", u8"用法：");
    const std::string options = "\n" + m_w("Options:", u8"选项：") + "\n";
    if (app->get_parent()) {
        std::string text =
            WrapText(app->get_description(), WIDTH, 0, 0) + "\n\n" + usage + name + " [OPTIONS]";
        if (app->get_name() == "events")
            text += " [-- PROGRAM ARGS...]";
        return text + "\n" + options + OptionLines(app, true);
    }
    std::string text = WrapText(app->get_description(), WIDTH, 0, 0) + "\n\n" + usage + name +
                       " COMMAND [OPTIONS]\n\n" + m_w("Commands:", u8"命令：") + "\n";
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
