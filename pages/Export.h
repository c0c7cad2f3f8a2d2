#pragma once
// Export: a standard Save As dialog offering GBK (the results file's own bytes) or UTF-8.

#include "framework/Wnd.h"

#include <string>
#include <string_view>

enum class ExportEncoding { Gbk, Utf8 };

// Asks for a file, proposing defaultName; false when the user cancels.
bool AskExportPath(CWnd& owner, const wchar_t* defaultName, std::wstring& path,
                   ExportEncoding& encoding);
// Writes the GBK text to path in the chosen encoding, replacing the file; false on any failure.
bool WriteExport(const std::wstring& path, std::string_view gbkText, ExportEncoding encoding);
// Copies the GBK file source to path in the chosen encoding, a piece at a time, so that a batch
// of any size can be exported; false on any failure.
bool ExportFile(const CString& source, const std::wstring& path, ExportEncoding encoding);
