#pragma once

#include "CmdTarget.h"
#include "MDIFrameWnd.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CDocument;
class QWidget;

// Ties a document class to its child frame and view classes: makes new and
// opened documents with a frame and view each, adds further frames, keeps the
// frames' titles and closes documents with their last frame.
class CMultiDocTemplate : public CFrameTemplate {
public:
    using DocumentClass = std::function<std::unique_ptr<CDocument>()>;
    using FrameClass = std::function<CMDIChildWnd*(QWidget* parent)>;
    using ViewClass = std::function<CScrollView*(QWidget* parent)>;

    // The fields of the document string, in order.
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    CMultiDocTemplate(UINT resourceId, DocumentClass document, FrameClass frame, ViewClass view);
    ~CMultiDocTemplate();
    CMultiDocTemplate(const CMultiDocTemplate&) = delete;
    CMultiDocTemplate& operator=(const CMultiDocTemplate&) = delete;

    // Menu, icon and document string of its frames.
    UINT GetResourceId() const override { return m_nIDResource; }
    QString GetDocString(DocStringIndex index) const;

    // A new document (empty path) or the document of path, with a frame and
    // view. A path already open activates its frame instead. On failure the
    // message naming the file goes to error, or to a message box when error is
    // null, and nothing is created. prepare fills a new document before its
    // frame and view are made.
    CDocument* OpenDocumentFile(const QString& path, bool makeVisible = true,
                                QString* error = nullptr,
                                const std::function<void(CDocument&)>& prepare = {});
    // One more frame and view on doc, initialised and shown.
    CMDIChildWnd* CreateNewFrame(CDocument* doc) override;
    // Closes every frame of doc; the document goes with the last one.
    void CloseDocument(CDocument* doc);

    const std::vector<std::unique_ptr<CDocument>>& GetDocuments() const { return m_documents; }
    std::vector<CMDIChildWnd*> FramesOf(const CDocument* doc) const;

    // The frames' titles: the document title, with ":n" when it has several.
    void UpdateFrameCounts(CDocument* doc);

    // Called by a frame while it is destroyed.
    void OnFrameDestroyed(CMDIChildWnd* frame) override;
    // Through the message maps below.
    bool RouteCommand(UINT id, CCmdUI* ui, CScrollView& view, CDocument* doc) const override;

    // Message maps of its views and documents (the classes' own maps).
    CCommandMap<CScrollView&> m_viewCommands;
    CCommandMap<CDocument&> m_documentCommands;

private:
    CMDIChildWnd* MakeFrame(CDocument* doc, bool makeVisible);
    void SetDefaultTitle(CDocument* doc);
    CDocument* FindOpenDocument(const QString& path) const;
    void AdoptDocument(std::unique_ptr<CDocument> doc);
    void DestroyDocument(CDocument* doc);

    UINT m_nIDResource;
    DocumentClass m_documentClass;
    FrameClass m_frameClass;
    ViewClass m_viewClass;
    int m_nUntitledCount = 0;
    std::vector<std::unique_ptr<CDocument>> m_documents;
};
