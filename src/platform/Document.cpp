#include "Document.h"

#include <QFileInfo>

#include <algorithm>

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
