#include "Core.h"

#include "platform/FileSystem.h"

CCore* g_pCore = nullptr;

CCore::CCore() : m_integers(std::random_device{}()) {}

CCore::CCore(std::uint32_t seed) : m_integers(seed) {}

CCore::~CCore()
{
    logClose();
}

CString CCore::getAppPath()
{
    return AppPathFor(platform::ProgramPath(), platform::CanCreateBeside, platform::UserDataFolder);
}

CString AppPathFor(const CString& program,
                   const std::function<bool(const CString&)>& canCreateBeside,
                   const std::function<CString()>& userDataFolder)
{
    std::string_view path = program.View();
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.rfind('.');
    std::string_view withoutExt = path;
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash))
        withoutExt = path.substr(0, dot);
    const std::string_view name =
        slash == std::string_view::npos ? withoutExt : withoutExt.substr(slash + 1);

    if (!withoutExt.empty() && canCreateBeside(CString(withoutExt)))
        return CString(withoutExt);
    // A program installed in a read-only folder still gets its results file.
    return userDataFolder() + CString(name.empty() ? std::string_view("Zanfor") : name);
}

ComposerSources SourcesOf(CCore& core)
{
    return ComposerSources{
        .randInt = [&core](int lo, int hi) { return core.getRandInt(lo, hi); },
        .field = [&core](const CString& src, char sep,
                         int index) { return core.getFg(src, sep, index); },
    };
}

int CCore::getRandInt(int lo, int hi)
{
    return m_integers.Between(lo, hi);
}

CString CCore::getFg(const CString& src, char sep, int index)
{
    return m_fields.Field(src, sep, index);
}

void CCore::logAdd(const CString& file, const CString& text, int /*flag*/)
{
    if (!m_logPath.IsEmpty() && file != m_logPath)
        logClose();
    if (m_logPath.IsEmpty()) {
        // One open stream per file, not one open per record: a batch may hold millions of them.
        m_logPath = file;
        m_logFile = platform::OpenForAppend(file);
        if (m_logFile)
            std::setvbuf(m_logFile, nullptr, _IOFBF, 1 << 16);
        else
            m_logFailed = true; // stays failed until logClose: no half-written batch goes unnoticed
    }
    if (!m_logFile)
        return;
    if (std::fwrite(text.GetString(), 1, text.size(), m_logFile) != text.size() ||
        std::fwrite("\r\n", 1, 2, m_logFile) != 2)
        m_logFailed = true;
}

bool CCore::logClose()
{
    bool ok = !m_logFailed;
    if (m_logFile) {
        if (std::fclose(m_logFile) != 0)
            ok = false;
        m_logFile = nullptr;
    }
    m_logFailed = false;
    m_logPath.Empty();
    return ok;
}
