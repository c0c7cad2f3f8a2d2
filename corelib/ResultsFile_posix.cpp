#include "ResultsFile.h"
#include "WriteAll.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool IsLink(const char* path)
{
    struct stat st {};
    return ::lstat(path, &st) == 0 && S_ISLNK(st.st_mode);
}
} // namespace

CResultsFile::~CResultsFile()
{
    Close();
}

bool CResultsFile::IsOpen() const
{
    return m_fd >= 0;
}

void CResultsFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void CResultsFile::RemoveOld(const CString& path)
{
    if (!IsLink(path.GetString()))
        ::unlink(path.GetString()); // removes a link itself, never its target, should one come now
}

CResultsFile::Start CResultsFile::Begin(const CString& path)
{
    m_error = 0;
    m_written = 0;
    m_checksum = m_head = ByteChecksum();
    if (m_fd >= 0 && path == m_path && IsAtPath()) {
        if (::ftruncate(m_fd, 0) == 0)
            return Start::Ok;
        m_error = static_cast<unsigned long>(errno);
        return Start::Failed;
    }
    Close();
    m_path = path;
    if (IsLink(path.GetString())) {
        m_error = ERROR_IS_LINK;
        return Start::HeldElsewhere;
    }
    if (::unlink(path.GetString()) != 0 && errno != ENOENT) {
        m_error = static_cast<unsigned long>(errno);
        return Start::Failed;
    }
    // O_EXCL refuses a link planted since, and O_APPEND writes at the end whatever happens to the
    // file meanwhile.
    m_fd = ::open(path.GetString(), O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
    if (m_fd < 0) {
        m_error = static_cast<unsigned long>(errno);
        return m_error == EEXIST ? Start::HeldElsewhere : Start::Failed;
    }
    return Start::Ok;
}

bool CResultsFile::Write(std::string_view records)
{
    if (m_fd < 0) {
        m_error = EBADF;
        return false;
    }
    m_error = static_cast<unsigned long>(
        WriteAll(m_fd, records, [this](std::string_view piece) { Count(piece); }));
    return m_error == 0;
}

bool CResultsFile::SizeNow(std::uint64_t& size)
{
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) {
        m_error = m_fd < 0 ? EBADF : static_cast<unsigned long>(errno);
        return false;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool CResultsFile::ReadAt(std::uint64_t offset, char* buf, std::size_t size, std::size_t& got)
{
    const ssize_t n = m_fd >= 0 ? ::pread(m_fd, buf, size, static_cast<off_t>(offset)) : -1;
    if (n < 0) {
        m_error = m_fd >= 0 ? static_cast<unsigned long>(errno) : EBADF;
        return false;
    }
    got = static_cast<std::size_t>(n);
    return true;
}

bool CResultsFile::IsAtPath() const
{
    struct stat held {};
    struct stat named {};
    return m_fd >= 0 && ::fstat(m_fd, &held) == 0 && ::lstat(m_path.GetString(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

CString CResultsFile::SystemText(unsigned long error)
{
    return CString(std::strerror(static_cast<int>(error)));
}
