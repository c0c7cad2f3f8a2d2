#include "Export.h"

#include "corelib/WideText.h"

#include <commdlg.h>

#include <cstdio>

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
    std::string_view bytes = gbkText;
    if (encoding == ExportEncoding::Utf8 && !gbkText.empty()) {
        const std::wstring wide = WideFromGbk(gbkText);
        const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                            nullptr, 0, nullptr, nullptr);
        utf8.resize(static_cast<std::size_t>(n));
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                              n, nullptr, nullptr);
        bytes = utf8;
    }
    std::FILE* f = ::_wfopen(path.c_str(), L"wb");
    if (!f)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

bool ReadWholeFile(const CString& path, std::string& bytes)
{
    bytes.clear();
    std::FILE* f = ::_wfopen(WideFromGbk(path.View()).c_str(), L"rb");
    if (!f)
        return false;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}
