#include "ShellFixture.h"

#include "support/Process.h"

#include <QDir>
#include <QFile>
#include <QPrinterInfo>

#include <sys/stat.h>

namespace {

TEST(CommandLine, Parsing) {
    using C = CCommandLineInfo;
    const struct {
        QStringList args;
        C::Command command;
        QString file;
        QString printer;
    } cases[] = {
        {{}, C::FileNew, {}, {}},
        {{"codes.txt"}, C::FileOpen, "codes.txt", {}},
        {{"-"}, C::FileOpen, "-", {}},
        {{"--print", "codes.txt"}, C::FilePrint, "codes.txt", {}},
        {{"codes.txt", "--print"}, C::FilePrint, "codes.txt", {}},
        {{"--print-to", "codes.txt", "Office"}, C::FilePrintTo, "codes.txt", "Office"},
        {{"--", "--print"}, C::FileOpen, "--print", {}},
        {{"--help"}, C::Help, {}, {}},
        {{"codes.txt", "--version"}, C::Version, {}, {}},
        {{"--bogus"}, C::Error, {}, {}},
        {{"a.txt", "b.txt"}, C::Error, {}, {}},
        {{"--print"}, C::Error, {}, {}},
        {{"--print-to", "codes.txt"}, C::Error, {}, {}},
    };
    for (const auto& c : cases) {
        C info;
        info.ParseArguments(c.args);
        const std::string args = c.args.join(' ').toStdString();
        EXPECT_EQ(info.m_nShellCommand, c.command) << args;
        EXPECT_EQ(info.m_strFileName, c.file) << args;
        EXPECT_EQ(info.m_strPrinterName, c.printer) << args;
        EXPECT_EQ(info.m_strError.isEmpty(), c.command != C::Error) << args;
    }
}

TEST_F(ShellTest, NamedFileOpensInTheOnlyWindow) {
    const QString path = WriteFile("codes.txt", "1\n2\n");
    ASSERT_TRUE(Start({path}));
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(frame->GetChildren().size(), 1u);
    EXPECT_EQ(frame->windowTitle(), "Tavik - codes.txt");
    EXPECT_EQ(app->GetRecentFileList()->Files(), QStringList{path});
}

// The file's message, then the program ends; the recent files stay as they were.
TEST_F(ShellTest, NamedFileThatCannotBeOpenedEndsStartUp) {
    QSettings("Korvalin", "Tavik").setValue("Recent File List/File1", "/kept.txt");
    const QString missing = dir.filePath("missing.txt");
    EXPECT_FALSE(Start({missing}));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(missing));
    EXPECT_EQ(app->m_nExitCode, 1);
    EXPECT_EQ(DocumentCount(), 0u);
    EXPECT_FALSE(frame->isVisible());
    Stop();
    EXPECT_EQ(QSettings("Korvalin", "Tavik").value("Recent File List/File1"), "/kept.txt");
}

TEST_F(ShellTest, UsageErrorEndsStartUpWithoutAMessageBox) {
    EXPECT_FALSE(Start({"--bogus"}));
    EXPECT_EQ(app->m_nExitCode, 2);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(DocumentCount(), 0u);
}

// Anything but a regular file is refused at once with one message naming it;
// a FIFO without a writer would otherwise never open.
TEST_F(ShellTest, FifoAndDeviceAreRefusedAtOnce) {
    const QString fifo = dir.filePath(QStringLiteral("codes.fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, QStringLiteral("/dev/zero")}) {
        messages.clear();
        EXPECT_FALSE(Start({path}));
        ASSERT_EQ(messages.size(), 1) << path.toStdString();
        EXPECT_EQ(messages[0],
                  QStringLiteral("Cannot open \"%1\": it is not a regular file.").arg(path));
        EXPECT_EQ(app->m_nExitCode, 1);
        Stop();
    }
}

// The program itself, with its settings in a folder of the test's own.
class Program : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_oldConfig); }

    ProcessResult Run(const QStringList& args) const {
        std::vector<std::string> list;
        for (const QString& a : args) {
            list.push_back(a.toStdString());
        }
        return RunProcess(TAVIK_GUI, list);
    }

    bool WroteSettings() const { return QDir(m_config.path()).exists("Korvalin"); }

    // The program's own lines on standard error (Qt may add warnings of its own).
    static std::vector<std::string> OwnLines(const std::string& err) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = err.find('\n', start)) != std::string::npos; start = end + 1) {
            if (err.compare(start, 7, "tavik: ") == 0) {
                lines.push_back(err.substr(start, end - start));
            }
        }
        return lines;
    }

    QTemporaryDir m_config;
    QByteArray m_oldConfig;
};

TEST_F(Program, PrintingOnAMissingPrinterFailsWithStatus2) {
    const QString name = QStringLiteral("No Such Printer 4711");
    ASSERT_TRUE(QPrinterInfo::printerInfo(name).isNull());
    const ProcessResult r = Run({"--print-to", "/dev/null", name});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(OwnLines(r.err),
              std::vector<std::string>{"tavik: no printer named \"" + name.toStdString() + "\""});
    EXPECT_FALSE(WroteSettings());
}

TEST_F(Program, PrintingWithoutADefaultPrinterFailsWithStatus2) {
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        GTEST_SKIP() << "this machine has a default printer";
    }
    const ProcessResult r = Run({"--print", "/dev/null"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(OwnLines(r.err), std::vector<std::string>{"tavik: no default printer"});
}

TEST_F(Program, HelpVersionAndUsageErrors) {
    const ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--print-to FILE PRINTER"), std::string::npos) << help.out;
    const ProcessResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tavik 2.0.0.0\n");

    const ProcessResult bad = Run({"--bogus"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(OwnLines(bad.err),
              std::vector<std::string>{"tavik: unknown option \"--bogus\" (see --help)"});
    EXPECT_FALSE(WroteSettings());
}

// The command line is checked before a display is needed; without one the
// window cannot open and the program says so, while printing still works.
TEST_F(Program, StartUpWithoutADisplay) {
    const QByteArray saved[] = {qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"),
                                qgetenv("QT_QPA_PLATFORM")};
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("QT_QPA_PLATFORM");
    const struct {
        QStringList args;
        std::string line;
    } cases[] = {
        {{"--bogus"}, "tavik: unknown option \"--bogus\" (see --help)"},
        {{"a", "b", "c"}, "tavik: one FILE at most (see --help)"},
        {{}, "tavik: no display; tavik-batch works without one"},
        {{"codes.txt"}, "tavik: no display; tavik-batch works without one"},
        {{"--print-to", "/dev/null", "No Such Printer 4711"},
         "tavik: no printer named \"No Such Printer 4711\""},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run(c.args);
        EXPECT_EQ(r.status, 2) << c.line;
        EXPECT_EQ(OwnLines(r.err), std::vector<std::string>{c.line});
    }
    const ProcessResult bad = Run({"--bogus"});
    EXPECT_NE(bad.err.find("Usage: tavik [FILE]"), std::string::npos) << bad.err;
    EXPECT_FALSE(WroteSettings());
    qputenv("DISPLAY", saved[0]);
    qputenv("WAYLAND_DISPLAY", saved[1]);
    qputenv("QT_QPA_PLATFORM", saved[2]);
}

} // namespace
