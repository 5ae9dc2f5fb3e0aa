#include "TavikDoc.h"
#include "TavikView.h"
#include "ViewRender.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct ViewFixture {
    ViewFixture()
    {
        doc.OnNewDocument();
        doc.AddView(view.get());
        view->OnInitialUpdate();
    }
    CTavikDoc doc;
    std::unique_ptr<CTavikView> view = std::make_unique<CTavikView>();
};

TEST(ViewLayout, InitialScrollSizesAndPitchAt96Dpi)
{
    ViewFixture f;
    EXPECT_EQ(f.view->GetTotalSize(), QSize(420, 80));
    const QImage image = RenderViewImage(*f.view, 1);
    EXPECT_EQ(f.view->GetTotalSize(), QSize(420, 79));
    image.save("/tmp/tavik-view.png");
}

} // namespace
