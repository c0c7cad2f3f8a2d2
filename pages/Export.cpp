#include "Export.h"

#include "PageCommon.h"
#include "framework/SaveAsDialog.h"
#include "platform/ReplacementFile.h"
#include "platform/ResultsFile.h"
#include "platform/TextConversion.h"

#include <string>

bool AskExportPath(CWnd& owner, const wchar_t* defaultName, std::wstring& path,
                   ExportEncoding& encoding)
{
    SaveAsRequest request;
    request.defaultName = defaultName;
    // "GBK 文本 (*.txt)", "UTF-8 文本 (*.txt)", "所有文件 (*.*)".
    request.filter = L"GBK \x6587\x672c (*.txt)\0*.txt\0"
                     L"UTF-8 \x6587\x672c (*.txt)\0*.txt\0"
                     L"\x6240\x6709\x6587\x4ef6 (*.*)\0*.*\0";
    request.defaultExtension = L"txt";
    request.pathTooLong = "导出文件的路径过长，请选择较短的文件名或文件夹。";
    SaveAsChoice choice;
    if (!AskSaveAsPath(owner, request, choice))
        return false;
    path = choice.path;
    encoding = choice.filterIndex == 2 ? ExportEncoding::Utf8 : ExportEncoding::Gbk;
    return true;
}

ExportResult SaveExport(const std::wstring& path, ExportEncoding encoding,
                        const std::function<bool(const ExportWriter&)>& produce)
{
    CReplacementFile file(path);
    if (!file.Ok())
        return {ExportResult::Outcome::WriteFailed, file.Reason()};
    // UTF-8 is converted up to the last line end of what has come: a piece never ends inside a
    // two-byte character.
    std::string pending, utf8;
    const ExportWriter write = [&](std::string_view piece) {
        if (encoding != ExportEncoding::Utf8)
            return file.Write(piece);
        pending.append(piece);
        const std::size_t cut = pending.rfind('\n') + 1; // npos + 1 is 0: no line end yet
        utf8.clear();
        AppendUtf8FromGbk(std::string_view(pending).substr(0, cut), utf8);
        pending.erase(0, cut);
        return file.Write(utf8);
    };
    const bool produced = produce(write);
    if (!file.Ok())
        return {ExportResult::Outcome::WriteFailed, file.Reason()};
    if (!produced)
        return {ExportResult::Outcome::SourceFailed, CString()};
    utf8.clear();
    AppendUtf8FromGbk(pending, utf8);
    if (!file.Write(utf8) || !file.Commit())
        return {ExportResult::Outcome::WriteFailed, file.Reason()};
    return {};
}

CString ExportResultText(const ExportResult& result)
{
    switch (result.outcome) {
    case ExportResult::Outcome::Saved:
        return "导出成功！";
    case ExportResult::Outcome::SourceFailed:
        return MSG_RESULTS_ALTERED;
    case ExportResult::Outcome::Stopped:
        return "导出已停止，目标文件没有改动。";
    case ExportResult::Outcome::WriteFailed:
        break;
    }
    return result.reason.IsEmpty() ? CString("导出失败！") : "导出失败！\r\n" + result.reason;
}
