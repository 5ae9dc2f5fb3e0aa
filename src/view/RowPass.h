#pragma once

#include "BarcodeSettings.h"
#include "DC.h"
#include "EncoderSet.h"

#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

class QObject;

// What a pass over a view's rows works from: a copy of the settings (their
// line list is read-only once loaded and outlives the pass), the two fonts
// and the screen's resolution.
struct RowPassInput {
    BarcodeSettings settings;
    CFont textFont;
    CFont barcodeFont;
    CDC::Resolution screen;
};

// One row as a pass sees it. Without a line list the settings text stands
// for every row and is visited once, as row 0.
struct PassRow {
    std::int64_t index;
    std::string_view text;
    bool accepted;               // the symbology took the text
    const CBarcodeBase* encoder; // the row's elements, when accepted
    const RowPassInput& input;
    const CDC& surface; // measures text with the input's fonts
};

// A job done for every row of one pass.
class CRowVisitor {
public:
    virtual ~CRowVisitor() = default;
    // On the pass's thread, for every row in order.
    virtual void Visit(const PassRow& row) = 0;
    // On the thread of the pass's context, once every row was visited; never
    // after a cancelled pass.
    virtual void Finish() {}
};

// The width of an encoder's bars and spaces in logical units (0 without an encoder).
std::int64_t BarsWidth(const BarcodeSettings& s, const CBarcodeBase* encoder);
// The right edge of row text drawn at the origin (bars and text, as the view
// draws it), in logical units; the origin when it draws nothing.
std::int64_t RowRight(const BarcodeSettings& s, const CBarcodeBase* encoder, const CDC& surface,
                      const CFont& textFont, const CFont& barcodeFont, std::string_view text);

// Measures the widest row of a pass, beyond the origin. A list line the
// symbology refuses leaves its row empty; the settings text is drawn anyway.
class CWidthVisitor : public CRowVisitor {
public:
    explicit CWidthVisitor(std::function<void(std::int64_t)> done) : m_done(std::move(done)) {}
    void Visit(const PassRow& row) override;
    void Finish() override { m_done(m_widest); }

private:
    std::function<void(std::int64_t)> m_done;
    std::int64_t m_widest = std::numeric_limits<std::int64_t>::min();
};

// One pass over all rows of a view, off the user-interface thread, with
// encoders of its own: every visitor sees each row once. A newer pass cancels
// the older one.
class CRowPass {
public:
    using Visitors = std::vector<std::unique_ptr<CRowVisitor>>;

    CRowPass() = default;
    ~CRowPass();
    CRowPass(const CRowPass&) = delete;
    CRowPass& operator=(const CRowPass&) = delete;

    // Starts the pass on a thread of its own; the visitors' Finish runs on
    // context's thread while context lives.
    void Start(RowPassInput input, Visitors visitors, QObject* context);
    // Stops the running pass, if any, and waits for its thread.
    void Cancel();
    // From Start until the visitors finished on the context's thread (or the
    // pass was cancelled).
    bool IsRunning() const;

    // The same pass on the calling thread; false when cancel was raised.
    static bool Run(const RowPassInput& input, const Visitors& visitors,
                    const std::atomic<bool>& cancel);

    // The widest row beyond the origin, measured on the calling thread; INT64_MIN when
    // no row draws anything.
    static std::int64_t MeasureWidest(const RowPassInput& input);

private:
    struct Flags {
        std::atomic<bool> cancel{false};
        std::atomic<bool> settled{false}; // finished, delivered or given up
    };
    std::shared_ptr<Flags> m_flags;
    std::unique_ptr<QThread> m_thread;
};
