#include "Document.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CDocument::~CDocument() = default;

void CDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    OnTitleChanged();
}

void CDocument::AddView(CDocumentView* view) {
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CDocumentView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    if (view->m_pDocument == this) {
        view->OnDocumentLeaving(); // the document may go right after
        view->m_pDocument = nullptr;
    }
}

bool CDocument::OnNewDocument() {
    m_strPathName.clear();
    SetTitle(QStringLiteral("Untitled"));
    return true;
}

bool CDocument::OnOpenDocument(const QString& path, QString* error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, error)) {
        return false;
    }
    CArchive ar(CArchive::load, std::move(bytes));
    Serialize(ar);
    m_strPathName = path;
    SetTitle(QFileInfo(path).fileName());
    return true;
}

bool ReadToEnd(int fd, std::string& bytes, std::size_t limit) {
    bytes.clear();
    try {
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
            if (static_cast<std::uint64_t>(st.st_size) > limit) {
                errno = EFBIG;
                return false;
            }
            bytes.reserve(static_cast<std::size_t>(st.st_size));
        }
        char block[1 << 16];
        for (;;) {
            const ssize_t n = ::read(fd, block, sizeof block);
            if (n == 0) {
                return true;
            }
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                break;
            }
            if (bytes.size() + static_cast<std::size_t>(n) > limit) {
                errno = EFBIG;
                break;
            }
            bytes.append(block, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
    }
    const int reason = errno;
    std::string().swap(bytes);
    errno = reason;
    return false;
}

// Anything but a regular file (a FIFO, a device, a socket) is refused before it
// is opened: opening a FIFO waits for a writer and a device may never end.
// O_NONBLOCK keeps a FIFO put in the file's place meanwhile from blocking.
bool ReadFileBytes(const char* path, std::string& bytes) {
    struct stat st {};
    if (::stat(path, &st) != 0) {
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile;
        return false;
    }
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = kNotRegularFile;
        return false;
    }
    const bool read = ReadToEnd(fd, bytes);
    const int reason = errno;
    ::close(fd);
    errno = reason;
    return read;
}

bool ReadWholeFile(const QString& path, std::string& bytes, QString* error) {
    if (ReadFileBytes(QFile::encodeName(path).constData(), bytes)) {
        return true;
    }
    if (error != nullptr) {
        *error = QStringLiteral("Cannot open \"%1\": %2.")
                     .arg(path, QString::fromLocal8Bit(ReadFailureReason(errno).c_str()));
    }
    return false;
}

std::string ReadFailureReason(int error) {
    return error == kNotRegularFile ? "it is not a regular file" : std::strerror(error);
}
