#include "ResultsFile.h"
#include "WriteAll.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// What a name holds, looked at without following a link.
enum class AtName {
    Absent,
    OurFile, // a plain file, ours to replace
    Link,    // left with what it leads to
    NotOurs, // read-only or not a file (a FIFO): left as it is
    Failed,
};

AtName LookAt(const char* path, unsigned long& error)
{
    struct stat st {};
    if (::lstat(path, &st) != 0) {
        error = errno == ENOENT ? 0 : static_cast<unsigned long>(errno);
        return error == 0 ? AtName::Absent : AtName::Failed;
    }
    if (S_ISLNK(st.st_mode)) {
        error = CResultsFile::ERROR_IS_LINK;
        return AtName::Link;
    }
    if (S_ISDIR(st.st_mode)) {
        error = EISDIR;
        return AtName::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        error = CResultsFile::ERROR_NOT_PLAIN_FILE;
        return AtName::NotOurs;
    }
    // Without a write permission for anyone, as Windows shows a read-only file under Wine.
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        error = EACCES;
        return AtName::NotOurs;
    }
    return AtName::OurFile;
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

void CResultsFile::Remove()
{
    struct stat held {};
    struct stat named {};
    const bool ours = m_fd >= 0 && ::fstat(m_fd, &held) == 0 &&
                      ::lstat(m_path.GetString(), &named) == 0 && S_ISREG(named.st_mode) &&
                      held.st_dev == named.st_dev && held.st_ino == named.st_ino;
    Close();
    if (ours)
        ::unlink(m_path.GetString());
}

void CResultsFile::RemoveOld(const CString& path)
{
    unsigned long error = 0;
    if (LookAt(path.GetString(), error) == AtName::OurFile)
        ::unlink(path.GetString()); // removes a link itself, never its target, should one come now
}

CResultsFile::Start CResultsFile::Begin(const CString& path)
{
    m_error = 0;
    m_written = 0;
    m_checksum.Reset();
    m_head.Reset();
    if (m_fd >= 0 && path == m_path && IsAtPath()) {
        if (::ftruncate(m_fd, 0) == 0)
            return Start::Ok;
        m_error = static_cast<unsigned long>(errno);
        return Start::Failed;
    }
    Close();
    m_path = path;
    switch (LookAt(path.GetString(), m_error)) {
    case AtName::Link:
    case AtName::NotOurs:
        return Start::HeldElsewhere;
    case AtName::Failed:
        return Start::Failed;
    case AtName::OurFile:
        if (::unlink(path.GetString()) != 0 && errno != ENOENT) {
            m_error = static_cast<unsigned long>(errno);
            return Start::Failed;
        }
        break;
    case AtName::Absent:
        break;
    }
    // O_EXCL refuses a link planted since, and O_APPEND writes at the end whatever happens to the
    // file meanwhile.
    m_fd = ::open(path.GetString(), O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
    if (m_fd < 0) {
        m_error = static_cast<unsigned long>(errno);
        if (m_error != EEXIST)
            return Start::Failed;
        // What took the name since tells why.
        unsigned long why = 0;
        if (const AtName at = LookAt(path.GetString(), why);
            at == AtName::Link || at == AtName::NotOurs)
            m_error = why;
        return Start::HeldElsewhere;
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
