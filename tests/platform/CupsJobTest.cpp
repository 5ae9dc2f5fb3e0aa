// Jobs on a private print service: the resolution a job is laid out for and
// asks for, the page it asks for, and jobs cancelled before and after sending.
#include "CupsJob.h"
#include "PrinterResolution.h"

#include "support/PrivateCups.h"
#include "support/Process.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

namespace {

class CupsJobs : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(dir->isValid());
        const ProcessResult r = StartPrivateCups(Path("cups"), {"TavikQueue", "TavikZebra"});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    static void TearDownTestSuite() {
        StopPrivateCups(Path("cups"));
        delete dir;
        dir = nullptr;
    }
    static std::string Path(const char* name) { return dir->filePath(name).toStdString(); }

    // The queue's jobs not yet done, as lpstat lists them.
    static std::string Pending(const std::string& queue) {
        return RunProcess("/usr/bin/lpstat", {"-o", queue}).out;
    }

    static inline QTemporaryDir* dir = new QTemporaryDir;
};

QByteArray OptionIn(const CupsJobSpec& request, const char* name) {
    const auto it = std::find_if(request.options.begin(), request.options.end(),
                                 [&](const JobOption& o) { return o.first == name; });
    return it != request.options.end() ? it->second : QByteArray("<none>");
}

// The print dialog's choice comes before the user's default and that before the
// queue's (203 dpi); one the queue does not list (203, 300, 600) is passed over.
// The dialog's other options and the user's go with the job, but not a page
// size of theirs: the job's page is the printer's, upright 4 x 2 in.
TEST_F(CupsJobs, ResolutionAndPageAsTheJobCarriesThem) {
    const struct {
        QStringList dialog;
        std::string user;
        int dpi;
        QByteArray darkness;
    } cases[] = {
        {{}, "", 203, "<none>"},
        {{}, "Resolution=300dpi Darkness=5 PageSize=w288h360", 300, "5"},
        {{"Resolution", "600dpi", "Darkness", "20"}, "Resolution=300dpi Darkness=5", 600, "20"},
        {{"Resolution", "1200dpi"}, "Resolution=300dpi", 300, "<none>"},
        {{}, "Resolution=250dpi", 203, "<none>"},
    };
    const PrivateHome home(Path("home"));
    for (const auto& c : cases) {
        home.SetPrintOptions("TavikZebra", c.user);
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(QStringLiteral("TavikZebra"));
        ASSERT_EQ(printer.outputFormat(), QPrinter::NativeFormat);
        printer.printEngine()->setProperty(QPrintEngine::PrintEnginePropertyKey(0xfe00), c.dialog);
        UseQueueResolution(printer);
        EXPECT_EQ(printer.resolution(), c.dpi) << c.user;
        printer.setPageSize(QPageSize(QSizeF(4, 2), QPageSize::Inch, {}, QPageSize::ExactMatch));
        QString error;
        const CupsJobSpec request = JobSpecFor(printer, &error);
        ASSERT_EQ(error, QString()) << c.user;
        EXPECT_EQ(OptionIn(request, "Resolution"), QByteArray::number(c.dpi) + "dpi") << c.user;
        EXPECT_EQ(OptionIn(request, "Darkness"), c.darkness) << c.user;
        EXPECT_EQ(OptionIn(request, "media"), "custom_4x2in_4x2in") << c.user;
        EXPECT_EQ(OptionIn(request, "PageSize"), "<none>") << c.user;
        EXPECT_EQ(OptionIn(request, "landscape"), "<none>") << c.user;
    }
}

// A page the queue has no media for, and cannot make, is refused with its size.
TEST_F(CupsJobs, PageWithoutMediaIsRefused) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QStringLiteral("TavikQueue"));
    printer.setPageSize(QPageSize(QSizeF(50, 25), QPageSize::Millimeter));
    QString error;
    EXPECT_TRUE(JobSpecFor(printer, &error).options.empty());
    EXPECT_EQ(error, QStringLiteral("\"TavikQueue\" has no 50 x 25 mm media (width x length) and "
                                    "takes no custom size of it"));
}

// A job cancelled before it is sent leaves nothing; one sent (to a stopped
// queue, where it waits) is gone from the queue once cancelled.
TEST_F(CupsJobs, CancelledJobsLeaveNothingQueued) {
    RunProcess("/usr/sbin/cupsdisable", {"TavikQueue"});
    const QString pdf = QString::fromStdString(Path("job.pdf"));
    {
        QPdfWriter writer(pdf);
        QPainter painter(&writer);
        painter.drawText(100, 100, QStringLiteral("job"));
    }
    const CupsJobSpec request{QStringLiteral("TavikQueue"), QStringLiteral("job"), {}};
    const std::atomic<bool> stop{true};
    const CupsJobResult cancelled = SubmitPdfJob(pdf, request, &stop);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.jobId, 0);
    EXPECT_EQ(Pending("TavikQueue"), "");
    const CupsJobResult sent = SubmitPdfJob(pdf, request);
    ASSERT_GT(sent.jobId, 0) << sent.error.toStdString();
    EXPECT_NE(Pending("TavikQueue").find("TavikQueue-" + std::to_string(sent.jobId)),
              std::string::npos);
    EXPECT_EQ(CancelCupsJob(request.printer, sent.jobId), QString());
    EXPECT_EQ(Pending("TavikQueue"), "");
    EXPECT_NE(CancelCupsJob(request.printer, sent.jobId + 100), QString());
    const CupsJobResult nowhere = SubmitPdfJob(pdf, {QStringLiteral("NoSuchQueue"), {}, {}});
    EXPECT_EQ(nowhere.error, QStringLiteral("no printer named \"NoSuchQueue\""));
}

} // namespace
