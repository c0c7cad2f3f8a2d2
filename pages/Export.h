#pragma once
// Export: a standard Save As dialog offering GBK (the results file's own bytes) or UTF-8, and a
// save that never leaves a half-written file: the text goes to a temporary file beside the target,
// reaches the disk, and only then takes the target's place (platform/ReplacementFile). On any
// failure the old file stays as it was and no temporary file is left behind.

#include "framework/Wnd.h"

#include <functional>
#include <string>
#include <string_view>

// How the pieces are saved: GBK text as it is, or as UTF-8 (the two the dialog offers); or bytes a
// page has already put in the chosen encoding, as they are.
enum class ExportEncoding { Gbk, Utf8, AsGiven };

// Export's answers before it asks for a file.
constexpr const char* MSG_EXPORT_WHILE_RUNNING = "正在生成，请稍后再导出。";
constexpr const char* MSG_NOTHING_TO_EXPORT = "没有可导出的结果！";
// Saving as GBK would turn what GBK cannot spell into "?".
constexpr const char* MSG_EXPORT_NOT_GBK = "结果含有 GBK 无法表示的字符，请选择 UTF-8 文本导出。";

// Asks for a file, proposing defaultName; false when the user cancels.
bool AskExportPath(CWnd& owner, const wchar_t* defaultName, std::wstring& path,
                   ExportEncoding& encoding);

struct ExportResult {
    enum class Outcome { Saved, SourceFailed, WriteFailed, Stopped } outcome = Outcome::Saved;
    CString reason; // why the save failed: the system's words, or ours where it has none
};

// Takes one piece of the text; false when it could not be saved.
using ExportWriter = std::function<bool(std::string_view)>;
// produce hands every piece of the text to its writer, pieces cut after a line end, and returns
// false when its source failed.
ExportResult SaveExport(const std::wstring& path, ExportEncoding encoding,
                        const std::function<bool(const ExportWriter&)>& produce);
// "导出成功！", or what went wrong.
CString ExportResultText(const ExportResult& result);
