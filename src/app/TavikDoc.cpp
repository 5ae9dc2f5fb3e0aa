#include "TavikDoc.h"

bool CTavikDoc::OnNewDocument() {
    return CDocument::OnNewDocument();
}

void CTavikDoc::Serialize(CArchive& ar) {
    if (ar.IsLoading()) {
        m_lines.Load(ar.TakeBytes());
    }
}
