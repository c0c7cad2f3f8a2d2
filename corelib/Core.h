#pragma once
// Our utility library (one thread at a time): the application path, random integers for the Chinese
// characters, field splitting, appending records to a file, and the About box.

#include "core/CString.h"
#include "core/ComposerSources.h"

#include <cstdint>
#include <cstdio>
#include <functional>

// The record that describes the application to the library: four zero-terminated text slots.
constexpr int SOFT_RECORD_SIZE = 354;
struct tagSoft {
    char name[51];       // offset 0
    char version[101];   // offset 51
    char company[101];   // offset 152
    char copyright[101]; // offset 253
};
static_assert(sizeof(tagSoft) == SOFT_RECORD_SIZE);

enum tagOprType : std::int32_t { OPR_ABOUT = 4 };

class CCore {
public:
    CCore();                            // Chinese characters seeded from the system's entropy
    explicit CCore(std::uint32_t seed); // reproducible Chinese characters, for tests
    ~CCore();
    CCore(const CCore&) = delete;
    CCore& operator=(const CCore&) = delete;

    // A path prefix the process may create, delete and append to: the program's path without its
    // extension when its folder is writable, else the same name in a per-user data folder.
    CString getAppPath();
    // Uniform over every value from lo to hi; hi < lo gives lo.
    int getRandInt(int lo, int hi);
    // Field index of src cut at every sep, counting from 0; empty past the last field.
    CString getFg(const CString& src, char sep, int index);
    // Appends text and "\r\n" to file as one record, creating the file when it is absent. Records
    // are buffered: logClose() makes them reach the file (so does a record for another file and
    // the destructor). The flag selects nothing; callers pass 0. Part of the library's interface as
    // its callers know it; the strings page keeps its results file through the platform layer.
    void logAdd(const CString& file, const CString& text, int flag);
    // Writes out and closes the open results file; false when any record since it was opened
    // could not be written (folder read-only, file locked, disk full).
    bool logClose();

#ifdef _WIN32
    // op OPR_ABOUT: shows the modal About box from the record's texts; returns an empty text.
    CString uu(tagOprType op, tagSoft* soft, const CString& arg);
#endif

private:
    TwisterIntegers m_integers;
    FieldWalker m_fields;
    CString m_logPath;
    std::FILE* m_logFile = nullptr;
    bool m_logFailed = false;
};

// getAppPath's choice, given the program's path, whether a file can be created beside a path, and
// the per-user data folder (ending in a separator).
CString AppPathFor(const CString& program,
                   const std::function<bool(const CString&)>& canCreateBeside,
                   const std::function<CString()>& userDataFolder);

// The composer's sources from a library object: its random integers for the Chinese characters and
// its field splitter. The object must outlive their use.
ComposerSources SourcesOf(CCore& core);

// The one library object, alive while the main window is.
extern CCore* g_pCore;
