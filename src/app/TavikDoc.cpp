#include "TavikDoc.h"

bool CTavikDoc::OnNewDocument() {
    return CDocument::OnNewDocument();
}

void CTavikDoc::Generate(NumberSequence sequence) {
    SetTitle(QString::fromStdString(sequence.pattern));
    m_lines.Generate(std::move(sequence));
}

void CTavikDoc::Serialize(CArchive& ar) {
    if (ar.IsLoading()) {
        m_lines.Load(ar.TakeBytes());
    }
}
