#pragma once

#include "Document.h"
#include "LineList.h"

// The text-list document: the lines of an opened file, one barcode text each.
// Read-only: it never writes a file.
class CTavikDoc : public CDocument {
public:
    CLineList m_lines;

    const CLineList* GetLines() const override { return &m_lines; }

    bool OnNewDocument() override;
    // The rows of a number sequence instead of a file's lines, titled with its pattern.
    void Generate(NumberSequence sequence);
    // Loading splits the file into lines; storing writes nothing.
    void Serialize(CArchive& ar) override;
};
