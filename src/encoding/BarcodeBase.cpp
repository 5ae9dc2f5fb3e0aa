#include "BarcodeBase.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// The buffer is cleared in 32-byte blocks, four per step: the first block at the start,
// aligned steps from the first 32-byte boundary on, and a last step that ends at the end.
// A plain memset becomes "rep stos" here, about twice as slow as 32-byte vector stores.
// The vector type makes each block a single store wherever the CPU has 32-byte stores.
using Block = std::uint8_t __attribute__((vector_size(32)));
constexpr std::size_t BLOCK = sizeof(Block);
constexpr std::size_t STEP = 4 * BLOCK;
static_assert(CBarcodeBase::CAPACITY % STEP == 0);

inline void ZeroBlock(std::uint8_t* at) {
    const Block zero{};
    std::memcpy(at, &zero, BLOCK);
}

inline void ZeroStep(std::uint8_t* at) {
    ZeroBlock(at);
    ZeroBlock(at + BLOCK);
    ZeroBlock(at + 2 * BLOCK);
    ZeroBlock(at + 3 * BLOCK);
}

#if defined(__x86_64__) && defined(__GNUC__)
[[gnu::target_clones("avx2", "default")]]
#endif
void ZeroElements(std::uint8_t* begin)
{
    constexpr std::size_t size = CBarcodeBase::CAPACITY;
    const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(begin) % BLOCK;
    ZeroBlock(begin);
    for (std::size_t at = (BLOCK - misalignment) % BLOCK; at + STEP <= size; at += STEP) {
        ZeroStep(begin + at);
    }
    ZeroStep(begin + size - STEP);
}

} // namespace

void CBarcodeBase::Clear() {
    ZeroElements(elements);
    length = 0;
}

std::int64_t CBarcodeBase::ModuleCount() const {
    const int count = length < 0 ? 0 : (length > CAPACITY ? CAPACITY : length);
    // Counted without a branch, so the loop runs on whole vectors of elements.
    static_assert(ELEMENT_WIDE == 2);
    std::int32_t wide = 0;
    for (int i = 0; i < count; ++i) {
        wide += (elements[i] & ELEMENT_WIDE) >> 1;
    }
    return count + std::int64_t{wide} * (wideRatio - 1);
}

void CBarcodeBase::DrawLines(CDrawSurface& dc, int x, int y, int bottom, COLORREF barColour,
                             COLORREF spaceColour, int lineWidth) const {
    DrawLinesLong(dc, x, y, bottom, bottom, barColour, spaceColour, lineWidth);
}

void CBarcodeBase::DrawLinesLong(CDrawSurface& dc, int x, int y, int bottom, int longBottom,
                                 COLORREF barColour, COLORREF spaceColour, int lineWidth) const {
    const CDrawSurface::Pen barPen = dc.CreateSolidPen(lineWidth, barColour);
    const CDrawSurface::Pen spacePen = dc.CreateSolidPen(lineWidth, spaceColour);
    const CDrawSurface::Pen oldPen = dc.SelectPen(barPen);

    // x advances in 64 bits and stops once it leaves the int range, so a huge
    // line width cannot overflow.
    long long px = x;
    const int count = length < 0 ? 0 : (length > CAPACITY ? CAPACITY : length);
    for (int i = 0; i < count; ++i) {
        const std::uint8_t e = elements[i];
        const bool bar = (e & ELEMENT_BAR) != 0;
        const int repeat = (e & ELEMENT_WIDE) ? wideRatio : 1;
        const int endY = (e & ELEMENT_LONG) ? longBottom : bottom;
        for (int r = 0; r < repeat; ++r) {
            if (px < INT32_MIN || px > INT32_MAX) {
                break;
            }
            dc.SelectPen(bar ? barPen : spacePen);
            dc.MoveTo(static_cast<int>(px), y);
            dc.LineTo(static_cast<int>(px), endY);
            px += lineWidth;
        }
    }

    dc.SelectPen(oldPen);
    dc.DeletePen(barPen);
    dc.DeletePen(spacePen);
}
