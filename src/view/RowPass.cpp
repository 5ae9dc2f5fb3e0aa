#include "RowPass.h"

#include "LineList.h"

#include <QMetaObject>
#include <QThread>

#include <algorithm>
#include <limits>
#include <string>

std::int64_t BarsWidth(const BarcodeSettings& s, const CBarcodeBase* encoder) {
    const std::int64_t units = encoder != nullptr ? encoder->ModuleCount() : 0;
    return std::max<std::int64_t>(0, units * s.m_nBarWidth);
}

std::int64_t RowRight(const BarcodeSettings& s, const CBarcodeBase* encoder, const CDC& surface,
                      const CFont& textFont, const CFont& barcodeFont, std::string_view text) {
    std::int64_t width = 0;
    if (s.m_bTrueType) {
        width = surface.GetTextExtent(text, &barcodeFont).width();
    } else {
        width = BarsWidth(s, encoder);
    }
    if (s.m_bShowText) {
        width = std::max<std::int64_t>(width, surface.GetTextExtent(text, &textFont).width());
    }
    return std::int64_t{s.m_nOriginX} + width;
}

void CWidthVisitor::Visit(const PassRow& row) {
    const BarcodeSettings& s = row.input.settings;
    if (row.text.empty() || (s.m_pLines != nullptr && !row.accepted)) {
        return;
    }
    const std::int64_t right =
        RowRight(s, row.encoder, row.surface, row.input.textFont, row.input.barcodeFont, row.text);
    m_widest = std::max(m_widest, right - s.m_nOriginX);
}

std::int64_t CRowPass::MeasureWidest(const RowPassInput& input) {
    std::int64_t widest = std::numeric_limits<std::int64_t>::min();
    Visitors visitors;
    visitors.push_back(std::make_unique<CWidthVisitor>([&widest](std::int64_t w) { widest = w; }));
    const std::atomic<bool> never{false};
    Run(input, visitors, never);
    visitors.front()->Finish();
    return widest;
}

bool CRowPass::Run(const RowPassInput& input, const Visitors& visitors,
                   const std::atomic<bool>& cancel) {
    const BarcodeSettings& s = input.settings;
    EncoderSet encoders;
    const CDC surface(nullptr, input.screen, input.screen, false);
    auto visit = [&](std::int64_t index, std::string_view text) {
        const bool accepted = encoders.EncodeQuietly(s.m_nType, text);
        const PassRow row{index, text,   accepted, accepted ? encoders.For(s.m_nType) : nullptr,
                          input, surface};
        for (const auto& v : visitors) {
            v->Visit(row);
        }
    };
    if (s.m_pLines == nullptr) {
        if (!cancel.load(std::memory_order_relaxed)) {
            visit(0, s.m_strText);
        }
        return !cancel.load();
    }
    constexpr std::size_t kCancelCheck = 1024; // rows between looks at the flag
    const std::size_t count = s.m_pLines->GetSize();
    for (std::size_t i = 0; i < count; ++i) {
        if (i % kCancelCheck == 0 && cancel.load(std::memory_order_relaxed)) {
            return false;
        }
        visit(static_cast<std::int64_t>(i), s.m_pLines->GetAt(i));
    }
    return !cancel.load();
}

CRowPass::~CRowPass() {
    Cancel();
}

void CRowPass::Cancel() {
    if (m_flags) {
        m_flags->cancel.store(true);
    }
    if (m_thread) {
        m_thread->wait();
        m_thread.reset();
    }
    m_flags.reset();
}

bool CRowPass::IsRunning() const {
    return m_flags && !m_flags->settled.load();
}

void CRowPass::Start(RowPassInput input, Visitors visitors, QObject* context) {
    Cancel();
    auto flags = std::make_shared<Flags>();
    auto shared = std::make_shared<Visitors>(std::move(visitors));
    m_flags = flags;
    m_thread.reset(QThread::create([input = std::move(input), shared, flags, target = context] {
        if (!Run(input, *shared, flags->cancel)) {
            flags->settled.store(true);
            return;
        }
        // Cancel waits for this thread, and the owner cancels before it goes, so
        // target is alive here; a queued call to a deleted target is dropped.
        QMetaObject::invokeMethod(
            target,
            [shared, flags] {
                if (!flags->cancel.load()) { // a newer pass may have cancelled it since
                    for (const auto& v : *shared) {
                        v->Finish();
                    }
                }
                flags->settled.store(true);
            },
            Qt::QueuedConnection);
    }));
    m_thread->start(QThread::LowPriority);
}
