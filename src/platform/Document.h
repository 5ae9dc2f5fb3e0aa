#pragma once

#include "FileRead.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class CDocument;
class CLineList; // the list text's line list
class CScrollView;

// A loading or storing archive over a file's bytes.
class CArchive {
public:
    enum Mode { load, store };
    CArchive(Mode mode, std::string bytes = {}) : m_mode(mode), m_bytes(std::move(bytes)) {}

    bool IsLoading() const { return m_mode == load; }
    bool IsStoring() const { return m_mode == store; }
    // The whole content, handed over once.
    std::string TakeBytes() { return std::move(m_bytes); }

private:
    Mode m_mode;
    std::string m_bytes;
};

// The document's side of a view on it: the link, set and cleared by the
// document, and the notice that it is leaving. Only CScrollView derives from it,
// so each is one (ScrollViewOf).
class CDocumentView {
public:
    CDocument* GetDocument() const { return m_pDocument; }
    // The view is leaving its document, which may be destroyed next: nothing
    // may read the document after this.
    virtual void OnDocumentLeaving() {}

protected:
    ~CDocumentView() = default;

private:
    friend class CDocument;
    friend class CScrollView;
    CDocumentView() = default;
    CDocumentView(const CDocumentView&) = delete;
    CDocumentView& operator=(const CDocumentView&) = delete;

    CDocument* m_pDocument = nullptr;
};

// Document base: a title, the views on it, and opening from a file.
class CDocument {
public:
    virtual ~CDocument();

    const QString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const QString& title);
    const QString& GetPathName() const { return m_strPathName; }
    // The lines a document of a list holds; none by default.
    virtual const CLineList* GetLines() const { return nullptr; }

    void AddView(CDocumentView* view);
    void RemoveView(CDocumentView* view);
    const std::vector<CDocumentView*>& GetViews() const { return m_views; }

    virtual bool OnNewDocument();
    // Reads the file into a loading archive and calls Serialize. On failure the
    // message names the file and nothing is kept.
    virtual bool OnOpenDocument(const QString& path, QString* error = nullptr);
    virtual void Serialize(CArchive& ar) = 0;

    // Told after every title change; the framework keeps its frames' titles with it.
    void SetTitleChangedHandler(std::function<void()> handler) {
        m_titleChanged = std::move(handler);
    }

protected:
    // Called after the title changed (frames follow it).
    virtual void OnTitleChanged() {
        if (m_titleChanged) {
            m_titleChanged();
        }
    }

private:
    std::function<void()> m_titleChanged;
    QString m_strTitle;
    QString m_strPathName;
    std::vector<CDocumentView*> m_views;
};
