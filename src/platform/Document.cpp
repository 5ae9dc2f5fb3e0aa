#include "Document.h"

#include "ScrollView.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

CDocument::~CDocument() = default;

void CDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    OnTitleChanged();
}

void CDocument::AddView(CScrollView* view) {
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CScrollView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    if (view->m_pDocument == this) {
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

bool ReadWholeFile(const QString& path, std::string& bytes, QString* error) {
    auto fail = [&](const char* what) {
        if (error != nullptr) {
            *error = QStringLiteral("Cannot %1 \"%2\": %3.")
                         .arg(QString::fromLatin1(what), path,
                              QString::fromLocal8Bit(std::strerror(errno)));
        }
        return false;
    };
    const QByteArray name = QFile::encodeName(path);
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(name.constData(), "rb"), &std::fclose);
    if (!f) {
        return fail("open");
    }
    // Read in blocks: the size of special files is not known beforehand, and
    // a directory reports a meaningless one.
    bytes.clear();
    struct stat st {};
    if (fstat(fileno(f.get()), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    }
    char block[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, f.get())) > 0) {
        bytes.append(block, n);
    }
    if (std::ferror(f.get())) {
        bytes.clear();
        return fail("read");
    }
    return true;
}
