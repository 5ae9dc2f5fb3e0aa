#pragma once

#include "PageCache.h"
#include "PrintPreview.h"

#include <QString>

// A print preview's page cache, found by its objectName.
inline const CPageCache& PreviewCache(const CPrintPreview& preview) {
    return *preview.findChild<CPageCache*>(QStringLiteral("previewPageCache"));
}

// Pages drawn since the preview opened, and pages in its cache now.
inline int PagesDrawn(const CPrintPreview& preview) {
    return PreviewCache(preview).Drawn();
}
inline int PagesCached(const CPrintPreview& preview) {
    return PreviewCache(preview).Size();
}
