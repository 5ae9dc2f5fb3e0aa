#include "support/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

ProcessResult Batch(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProcess(TAVIK_BATCH, args, input);
}

constexpr const char* kCode39A = "121030301030101210301210303010";

TEST(BatchDump, SingleTexts) {
    const struct {
        std::vector<std::string> args;
        std::string out;
        std::string err;
        int status = 0;
    } cases[] = {
        {{"--dump", "A"}, std::string(kCode39A) + "\n", ""},
        {{"--dump", "-t", "0", "a"},
         std::string(kCode39A) + "\n",
         "bars read \"A\", label \"a\"\n"},
        {{"--dump", "-t", "i2of5", "12"}, "10103012101032301\n", ""},
        {{"--dump", "-t", "6", ""}, "1010301\n", "empty text\n", 1}, // drawn empty
        {{"--type", "EAN13", "--dump", "590123412345"}, "", ""},     // only the length is checked
    };
    for (const auto& c : cases) {
        const ProcessResult r = Batch(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (!c.out.empty()) {
            EXPECT_EQ(r.out, c.out);
        } else {
            EXPECT_EQ(r.out.size(), 96u); // 95 modules and a newline
        }
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(BatchDump, DefaultTextIsTheDefaultCode39Symbol) {
    const ProcessResult r = Batch({"--dump"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.size(), 121u); // "0123456789" framed by "*": 120 elements
    EXPECT_EQ(r.out.substr(0, 10), "1210303010");
}

TEST(BatchDump, Utf8TextBecomesLatin1) {
    // U+00C7 is byte 199, CODE C in Code 128 B: "A" CODE-C "12" -> symbols 104 33 99 12,
    // check and stop: three symbols more than the 35 modules of an empty text.
    const ProcessResult ok = Batch({"--dump", "-t", "code128b",
                                    "A\xC3\x87"
                                    "12"});
    EXPECT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(ok.out.size(), 11u * 3 + 35 + 1);

    const ProcessResult bad = Batch({"--dump", "-t", "code128b", "A\xE2\x82\xAC"}); // euro sign
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "\n");
    EXPECT_EQ(bad.err,
              "Error while encoding text \"A\xE2\x82\xAC\". The text has characters beyond "
              "Latin-1 (8-bit).\n");
}

TEST(BatchDump, FileRowsKeepTheirPlacesAndRefusalsAreReported) {
    const std::string input = "A\r\n#\n\nB"; // rows: A, refused, empty, B
    const ProcessResult r = Batch({"--dump", "-i", "-"}, input);
    EXPECT_EQ(r.status, 1);
    const std::string star = "1210303010";
    const std::string b = star + "1030121030" + star;
    EXPECT_EQ(r.out, std::string(kCode39A) + "\n\n" + star + star + "\n" + b + "\n");
    EXPECT_EQ(r.err,
              "line 2: Error while encoding text \"#\". Character 1, \"#\", is not in Code 39 "
              "(0-9, A-Z, a-z, space, - . $ / + % *).\n"
              "line 3: empty line\n");
}

TEST(BatchDump, FileIsReadAsRawBytes) {
    const std::string path = testing::TempDir() + "tavik-batch-rows.txt";
    std::ofstream(path, std::ios::binary) << "12\n\xC7\n34\n";
    const ProcessResult r = Batch({"--dump", "-t", "code128c", "-i", path});
    std::remove(path.c_str());
    EXPECT_EQ(r.status, 0) << r.err; // byte 199 in subset C begins a digit pair (value 0)
    int rows = 0;
    for (char c : r.out) {
        rows += c == '\n';
    }
    EXPECT_EQ(rows, 3);
}

TEST(BatchDump, UsageErrors) {
    const struct {
        std::vector<std::string> args;
        std::string fragment;
    } cases[] = {
        {{}, "nothing to do"},
        {{"--dump", "-t", "7"}, "unknown barcode type"},
        {{"--dump", "-t"}, "needs a value"},
        {{"--dump", "--bogus"}, "unknown option --bogus"},
        {{"--dump", "A", "B"}, "more than one TEXT"},
        {{"--dump", "A", "-i", "x"}, "not both"},
        {{"--dump", "-i", "/nonexistent/tavik"}, "cannot read /nonexistent/tavik"},
        {{"--dump", "-i", "/"}, "cannot read /: Is a directory"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Batch(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.fragment), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

// Output that cannot be written is an error, never a success.
TEST(BatchDump, UnwritableOutputAndUnreadableInput) {
    const struct {
        const char* command;
        const char* fragment;
    } cases[] = {
        {" --dump >/dev/full", "cannot write to standard output"},
        {" --help >/dev/full", "cannot write to standard output"},
        {" --dump -i - </", "cannot read standard input: Is a directory"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = RunProcess("/bin/sh", {"-c", std::string(TAVIK_BATCH) + c.command});
        EXPECT_EQ(r.status, 2) << c.command;
        EXPECT_NE(r.err.find(c.fragment), std::string::npos) << r.err;
    }
}

TEST(BatchDump, HelpAndVersion) {
    const ProcessResult help = Batch({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--dump", "--type", "--input", "--help", "--version"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const ProcessResult version = Batch({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tavik-batch 2.0.0.0\n");
}

} // namespace
