#include "ResultsFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

CResultsFile::Start CResultsFile::Begin(const CString& path)
{
    m_error = 0;
    m_written = 0;
    if (m_fd >= 0 && path == m_path) {
        if (::ftruncate(m_fd, 0) == 0 && ::lseek(m_fd, 0, SEEK_SET) == 0)
            return Start::Ok;
        m_error = static_cast<unsigned long>(errno);
        return Start::Failed;
    }
    Close();
    m_path = path;
    if (::unlink(path.GetString()) != 0 && errno != ENOENT) {
        m_error = static_cast<unsigned long>(errno);
        return Start::Failed;
    }
    m_fd = ::open(path.GetString(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (m_fd < 0) {
        m_error = static_cast<unsigned long>(errno);
        return Start::Failed;
    }
    return Start::Ok;
}

bool CResultsFile::Write(std::string_view records)
{
    while (!records.empty()) {
        const ssize_t n = m_fd >= 0 ? ::write(m_fd, records.data(), records.size()) : -1;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = n == 0 ? ENOSPC : static_cast<unsigned long>(m_fd >= 0 ? errno : EBADF);
            return false;
        }
        m_written += static_cast<std::uint64_t>(n);
        records.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool CResultsFile::Verify()
{
    struct stat st {};
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0) {
        m_error = m_fd < 0 ? EBADF : static_cast<unsigned long>(errno);
        return false;
    }
    if (static_cast<std::uint64_t>(st.st_size) != m_written) {
        if (m_error == 0)
            m_error = ENOSPC;
        return false;
    }
    return true;
}

bool CResultsFile::ReadBack(const std::function<bool(std::string_view)>& piece)
{
    if (!Verify())
        return false;
    std::vector<char> buf(1 << 20);
    std::uint64_t total = 0;
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(m_fd, buf.data(), buf.size(), at);
        if (n < 0) {
            m_error = static_cast<unsigned long>(errno);
            return false;
        }
        if (n == 0)
            break;
        at += n;
        total += static_cast<std::uint64_t>(n);
        if (!piece(std::string_view(buf.data(), static_cast<std::size_t>(n))))
            return false;
    }
    return total == m_written;
}

CString CResultsFile::ErrorText() const
{
    return m_error == 0 ? CString() : CString(std::strerror(static_cast<int>(m_error)));
}
