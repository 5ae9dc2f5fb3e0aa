#include "DocTemplate.h"

#include "Document.h"
#include "FrameApp.h"
#include "MDIFrameWnd.h"
#include "MessageBox.h"
#include "Resources.h"
#include "SaveFile.h"
#include "ScrollView.h"

#include <QFileInfo>
#include <QMdiArea>

#include <algorithm>

namespace {

CMDIChildWnd* FrameOfView(const CScrollView* view) {
    for (QWidget* w = view->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<CMDIChildWnd*>(w)) {
            return frame;
        }
    }
    return nullptr;
}

} // namespace

CMultiDocTemplate::CMultiDocTemplate(UINT resourceId, DocumentClass document, FrameClass frame,
                                     ViewClass view)
    : m_nIDResource(resourceId), m_documentClass(std::move(document)),
      m_frameClass(std::move(frame)), m_viewClass(std::move(view)) {
    // The document base's File Close. Save is not bound: these documents are
    // read-only and saving would write the file empty.
    m_documentCommands.On(ID_FILE_CLOSE, [this](CDocument& doc) { CloseDocument(&doc); });
}

CMultiDocTemplate::~CMultiDocTemplate() = default;

QString CMultiDocTemplate::GetDocString(DocStringIndex index) const {
    return AfxGetResources().LoadString(m_nIDResource).section(u'\n', index, index);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(const QString& path, bool makeVisible,
                                               QString* error,
                                               const std::function<void(CDocument&)>& prepare) {
    if (!path.isEmpty()) {
        if (CDocument* open = FindOpenDocument(path)) {
            const std::vector<CMDIChildWnd*> frames = FramesOf(open);
            if (makeVisible && !frames.empty() && AfxGetMainWnd() != nullptr) {
                AfxGetMainWnd()->MDIActivate(frames.front());
            }
            return open;
        }
    }
    std::unique_ptr<CDocument> doc = m_documentClass();
    if (path.isEmpty()) {
        if (!doc->OnNewDocument()) {
            return nullptr;
        }
        SetDefaultTitle(doc.get());
        if (prepare) {
            prepare(*doc);
        }
    } else {
        QString message;
        if (!doc->OnOpenDocument(path, &message)) {
            if (error != nullptr) {
                *error = message;
            } else {
                AfxMessageBox(message);
            }
            return nullptr;
        }
    }
    CDocument* result = doc.get();
    AdoptDocument(std::move(doc));
    if (MakeFrame(result, makeVisible) == nullptr) {
        DestroyDocument(result);
        return nullptr;
    }
    return result;
}

CMDIChildWnd* CMultiDocTemplate::CreateNewFrame(CDocument* doc) {
    const bool known = std::any_of(m_documents.begin(), m_documents.end(),
                                   [doc](const auto& d) { return d.get() == doc; });
    return known ? MakeFrame(doc, true) : nullptr;
}

// The frame and its view exist and the view is initialised before the frame
// is first shown.
CMDIChildWnd* CMultiDocTemplate::MakeFrame(CDocument* doc, bool makeVisible) {
    CMDIFrameWnd* main = AfxGetMainWnd();
    if (main == nullptr) {
        return nullptr;
    }
    CMDIChildWnd* frame = m_frameClass(main->MDIClient());
    CScrollView* view = m_viewClass(frame);
    frame->Attach(this, view);
    doc->AddView(view);
    main->AddChild(frame);
    UpdateFrameCounts(doc);
    view->OnInitialUpdate();
    if (makeVisible) {
        main->ShowChild(frame);
    }
    return frame;
}

void CMultiDocTemplate::CloseDocument(CDocument* doc) {
    for (CMDIChildWnd* frame : FramesOf(doc)) {
        frame->close();
    }
}

std::vector<CMDIChildWnd*> CMultiDocTemplate::FramesOf(const CDocument* doc) const {
    std::vector<CMDIChildWnd*> frames;
    for (CDocumentView* view : doc->GetViews()) {
        if (CMDIChildWnd* frame = FrameOfView(ScrollViewOf(view))) {
            frames.push_back(frame);
        }
    }
    return frames;
}

void CMultiDocTemplate::UpdateFrameCounts(CDocument* doc) {
    const std::vector<CMDIChildWnd*> frames = FramesOf(doc);
    int number = 1;
    for (CMDIChildWnd* frame : frames) {
        frame->m_nWindow = frames.size() > 1 ? number++ : 0;
        frame->OnUpdateFrameTitle();
    }
    if (CMDIFrameWnd* main = AfxGetMainWnd()) {
        main->OnChildrenChanged();
    }
}

// The view leaves its document here, while the frame is still whole; the
// document goes with its last view.
void CMultiDocTemplate::OnFrameDestroyed(CMDIChildWnd* frame) {
    CScrollView* view = frame->GetActiveView();
    CDocument* doc = view != nullptr ? view->GetDocument() : nullptr;
    if (doc == nullptr) {
        return;
    }
    doc->RemoveView(view);
    if (doc->GetViews().empty()) {
        DestroyDocument(doc);
    } else {
        UpdateFrameCounts(doc);
    }
}

// New documents are named from the document string: "Tavik1", "Tavik2", ...
bool CMultiDocTemplate::RouteCommand(UINT id, CCmdUI* ui, CScrollView& view, CDocument* doc) const {
    return m_viewCommands.Route(id, ui, view) ||
           (doc != nullptr && m_documentCommands.Route(id, ui, *doc));
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* doc) {
    QString name = GetDocString(docName);
    if (name.isEmpty()) {
        name = QStringLiteral("Untitled");
    }
    doc->SetTitle(name + QString::number(++m_nUntitledCount));
}

CDocument* CMultiDocTemplate::FindOpenDocument(const QString& path) const {
    for (const auto& doc : m_documents) {
        if (!doc->GetPathName().isEmpty() && IsSameFile(doc->GetPathName(), path)) {
            return doc.get();
        }
    }
    return nullptr;
}

void CMultiDocTemplate::AdoptDocument(std::unique_ptr<CDocument> doc) {
    CDocument* raw = doc.get();
    raw->SetTitleChangedHandler([this, raw] { UpdateFrameCounts(raw); });
    m_documents.push_back(std::move(doc));
}

void CMultiDocTemplate::DestroyDocument(CDocument* doc) {
    const auto it = std::find_if(m_documents.begin(), m_documents.end(),
                                 [doc](const auto& d) { return d.get() == doc; });
    if (it == m_documents.end()) {
        return;
    }
    std::unique_ptr<CDocument> owned = std::move(*it);
    m_documents.erase(it);
    owned->SetTitleChangedHandler({});
}
