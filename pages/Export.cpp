#include "Export.h"

#include "corelib/WideText.h"

#include <commdlg.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File Open(const std::wstring& path, const wchar_t* mode)
{
    return File(::_wfopen(path.c_str(), mode), std::fclose);
}

void AppendUtf8(std::string& out, std::string_view gbk)
{
    if (gbk.empty())
        return;
    const std::wstring wide = WideFromGbk(gbk);
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n));
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data() + at,
                          n, nullptr, nullptr);
}

bool Write(std::FILE* f, std::string_view bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

bool Close(File& f)
{
    return std::fclose(f.release()) == 0;
}

} // namespace

bool AskExportPath(CWnd& owner, const wchar_t* defaultName, std::wstring& path,
                   ExportEncoding& encoding)
{
    wchar_t file[MAX_PATH * 4] = {};
    lstrcpynW(file, defaultName, MAX_PATH);
    // "GBK 文本 (*.txt)", "UTF-8 文本 (*.txt)", "所有文件 (*.*)"; pairs ended by an empty text.
    static const wchar_t filter[] = L"GBK \x6587\x672c (*.txt)\0*.txt\0"
                                    L"UTF-8 \x6587\x672c (*.txt)\0*.txt\0"
                                    L"\x6240\x6709\x6587\x4ef6 (*.*)\0*.*\0";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner.m_hWnd;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!::GetSaveFileNameW(&ofn))
        return false;
    path = file;
    encoding = ofn.nFilterIndex == 2 ? ExportEncoding::Utf8 : ExportEncoding::Gbk;
    return true;
}

bool WriteExport(const std::wstring& path, std::string_view gbkText, ExportEncoding encoding)
{
    std::string utf8;
    if (encoding == ExportEncoding::Utf8)
        AppendUtf8(utf8, gbkText);
    File f = Open(path, L"wb");
    if (!f)
        return false;
    const bool written = Write(f.get(), encoding == ExportEncoding::Utf8 ? utf8 : gbkText);
    return Close(f) && written;
}

bool ExportFile(const CString& source, const std::wstring& path, ExportEncoding encoding)
{
    const std::wstring from = WideFromGbk(source.View());
    if (encoding == ExportEncoding::Gbk)
        return ::CopyFileW(from.c_str(), path.c_str(), FALSE) != FALSE;

    File in = Open(from, L"rb");
    if (!in)
        return false;
    File out = Open(path, L"wb");
    if (!out)
        return false;
    // Converted a line at a time at the least: a piece never ends inside a two-byte character.
    std::string pending, utf8;
    std::vector<char> buf(1 << 20);
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(buf.data(), 1, buf.size(), in.get());
        pending.append(buf.data(), n);
        const bool last = n < buf.size();
        // npos + 1 is 0: no line end in the piece yet.
        const std::size_t cut = last ? pending.size() : pending.rfind('\n') + 1;
        if (cut > 0) {
            utf8.clear();
            AppendUtf8(utf8, std::string_view(pending).substr(0, cut));
            ok = ok && Write(out.get(), utf8);
            pending.erase(0, cut);
        }
        if (last)
            break;
    }
    ok = ok && !std::ferror(in.get());
    return Close(out) && ok;
}
