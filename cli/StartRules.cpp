#include "StartRules.h"

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
