#include "TavikDoc.h"
#include "TextLines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const CTavikDoc& doc) {
    Lines lines;
    for (std::size_t i = 0; i < doc.m_lines.GetSize(); ++i) {
        lines.emplace_back(doc.m_lines.GetAt(i));
    }
    return lines;
}

class DocumentTest : public testing::Test {
protected:
    QString Write(const QString& name, const std::string& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        EXPECT_EQ(f.write(bytes.data(), static_cast<qint64>(bytes.size())),
                  static_cast<qint64>(bytes.size()));
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(DocumentTest, LoadsLines) {
    const struct {
        const char* name;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"lf", "A\nB\nC\n", {"A", "B", "C"}},
        {"no-final-terminator", "A\nB\nC", {"A", "B", "C"}},
        {"crlf", "A\r\nB\r\nC\r\n", {"A", "B", "C"}},
        {"lone-cr", "A\rB\rC\r", {"A", "B", "C"}},
        {"mixed", "A\r\nB\rC\nD", {"A", "B", "C", "D"}},
        {"empty", "", {}},
        {"blank-lines", "A\n\nB\n\n", {"A", "", "B", ""}},
        {"only-terminator", "\n", {""}},
        {"cr-before-crlf", "A\r\r\nB", {"A", "", "B"}},
        {"nul-inside", std::string("A\0B\nC", 5), {std::string("A\0B", 3), "C"}},
        {"untrimmed-8-bit", " A\t\xE9\xFF \n", {" A\t\xE9\xFF "}},
    };
    for (const auto& c : cases) {
        CTavikDoc doc;
        const QString path = Write(QString::fromLatin1(c.name) + ".txt", c.bytes);
        QString error;
        ASSERT_TRUE(doc.OnOpenDocument(path, &error)) << c.name;
        EXPECT_TRUE(error.isEmpty()) << c.name;
        EXPECT_EQ(LinesOf(doc), c.lines) << c.name;
        EXPECT_EQ(doc.m_lines.IsEmpty(), c.lines.empty()) << c.name;
        EXPECT_EQ(doc.GetTitle(), QString::fromLatin1(c.name) + ".txt");
        EXPECT_EQ(doc.GetPathName(), path);
    }
}

// A leading byte-order mark makes the file UTF-8: it is skipped and the lines
// become Latin-1; a line beyond Latin-1 is refused (it reads as a NUL, which every
// encoder refuses) and keeps its text for messages. Without the mark bytes stay.
TEST_F(DocumentTest, ByteOrderMarkFileIsReadAsUtf8) {
    const struct {
        std::string bytes;
        Lines lines;
        Lines utf8;
    } cases[] = {
        {"\xEF\xBB\xBF"
         "ABC\r\n\xC3\xA9t\xC3\xA9\n\xE6\x97\xA5\xE6\x9C\xAC\n\nZ",
         {"ABC", "\xE9t\xE9", std::string(1, '\0'), "", "Z"},
         {"ABC", "\xC3\xA9t\xC3\xA9", "\xE6\x97\xA5\xE6\x9C\xAC", "", "Z"}},
        {"\xEF\xBB\xBF\xFF\r\xC3\xA9\r\r\n\xC3\n", // lone CRs, malformed UTF-8
         {std::string(1, '\0'), "\xE9", "", std::string(1, '\0')},
         {"\xFF", "\xC3\xA9", "", "\xC3"}},
        {"\xC3\xA9\n", {"\xC3\xA9"}, {"\xC3\x83\xC2\xA9"}},
        {"\xEF\xBB\xBF", {}, {}},
    };
    for (const auto& c : cases) {
        CTavikDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(Write("bom.txt", c.bytes)));
        EXPECT_EQ(LinesOf(doc), c.lines);
        Lines utf8;
        for (std::size_t i = 0; i < doc.m_lines.GetSize(); ++i) {
            utf8.push_back(doc.m_lines.GetUtf8(i));
        }
        EXPECT_EQ(utf8, c.utf8);
    }
}

// Lines read in any order are the lines SplitLines gives, also after some were emptied.
TEST_F(DocumentTest, LinesReadInAnyOrder) {
    std::string bytes;
    const char* const terminators[] = {"\n", "\r\n", "\r"};
    for (int i = 0; i < 200; ++i) {
        bytes += std::string(static_cast<std::size_t>(i % 7), static_cast<char>('A' + i % 26)) +
                 terminators[i % 3];
    }
    bytes += "LAST";
    CLineList list;
    list.Load(bytes);
    Lines expected = SplitLines(bytes);
    const std::size_t last = expected.size() - 1;
    for (const std::vector<std::size_t>& emptied :
         {std::vector<std::size_t>{}, std::vector<std::size_t>{0, 31, 32, 33, last}}) {
        list.EmptyLines(emptied);
        for (std::size_t i : emptied) {
            expected[i].clear();
        }
        ASSERT_EQ(list.GetSize(), expected.size());
        const std::size_t n = expected.size();
        for (const std::size_t step :
             {std::size_t{1}, n - 1, std::size_t{37}}) { // ahead, back, about
            for (std::size_t k = 0; k < n; ++k) {
                const std::size_t i = (k * step) % n;
                EXPECT_EQ(list.GetAt(i), expected[i]) << i << " step " << step;
            }
        }
    }
}

TEST_F(DocumentTest, TenMegabyteLineKeptWhole) {
    const std::string big(10 * 1024 * 1024, '7');
    CTavikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Write("big.txt", "12\r\n" + big + "\r\n34")));
    ASSERT_EQ(doc.m_lines.GetSize(), 3u);
    EXPECT_EQ(doc.m_lines.GetAt(0), "12");
    EXPECT_EQ(doc.m_lines.GetAt(1).size(), big.size());
    EXPECT_EQ(doc.m_lines.GetAt(1), big);
    EXPECT_EQ(doc.m_lines.GetAt(2), "34");
}

TEST_F(DocumentTest, UnreadableFileFails) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.txt")));
    const QString paths[] = {dir.filePath(QStringLiteral("missing.txt")),
                             dir.filePath(QStringLiteral("folder.txt"))};
    for (const QString& path : paths) {
        CTavikDoc doc;
        doc.OnNewDocument();
        const QString title = doc.GetTitle();
        QString error;
        EXPECT_FALSE(doc.OnOpenDocument(path, &error)) << path.toStdString();
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
        EXPECT_TRUE(doc.m_lines.IsEmpty());
        EXPECT_EQ(doc.GetTitle(), title);
        EXPECT_TRUE(doc.GetPathName().isEmpty());
    }
}

TEST_F(DocumentTest, NewDocumentHoldsNothing) {
    CTavikDoc doc;
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.m_lines.IsEmpty());
    EXPECT_EQ(doc.m_lines.GetSize(), 0u);
}

// Storing writes nothing and leaves the lines alone.
TEST_F(DocumentTest, StoringWritesNothing) {
    CTavikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(Write("keep.txt", "A\nB\n")));
    CArchive ar(CArchive::store);
    doc.Serialize(ar);
    EXPECT_TRUE(ar.TakeBytes().empty());
    EXPECT_EQ(LinesOf(doc), (Lines{"A", "B"}));
}

} // namespace
