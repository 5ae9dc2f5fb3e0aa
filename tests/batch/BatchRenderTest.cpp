#include "support/Process.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace {

namespace fs = std::filesystem;

constexpr const char* kZbarimg = "/usr/bin/zbarimg";

ProcessResult Batch(const std::vector<std::string>& args, const std::string& input = {}) {
    return RunProcess(TAVIK_BATCH, args, input);
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The view's default text has 10 digits: as EAN-13 its bars read with two zeros and the
// check digit added, which tavik-batch warns about.
std::string EanDefaultWarning(const std::vector<std::string>& args) {
    const bool ean = std::find(args.begin(), args.end(), "ean13") != args.end();
    return ean ? "bars read \"0123456789005\", label \"0123456789\"\n" : "";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh directory for one test's files, removed with everything in it.
class ScratchDir {
public:
    ScratchDir() {
        std::string t = testing::TempDir() + "tavik-render-XXXXXX";
        if (mkdtemp(t.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp failed";
        }
        m_path = t;
    }
    ~ScratchDir() { fs::remove_all(m_path); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    // Names of the entries, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_path)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(*this / name, std::ios::binary) << bytes;
    }

private:
    std::string m_path;
};

// Width and height from a PNG's header; (-1, -1) when the file is no PNG.
std::pair<long, long> PngSize(const std::string& path) {
    const std::string b = Slurp(path);
    if (b.size() < 24 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || b.compare(12, 4, "IHDR")) {
        return {-1, -1};
    }
    auto be32 = [&](std::size_t at) {
        long v = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            v = v * 256 + static_cast<unsigned char>(b[at + i]);
        }
        return v;
    };
    return {be32(16), be32(20)};
}

// Every symbol ZBar finds in an image, sorted.
std::vector<std::string> Decode(const std::string& png) {
    const ProcessResult r = RunProcess(kZbarimg, {"-q", "--raw", "--nodbus", png});
    std::vector<std::string> symbols;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        symbols.push_back(line);
    }
    std::sort(symbols.begin(), symbols.end());
    return symbols;
}

// A small XML well-formedness check: balanced tags, quoted attributes, entities,
// one root element. Returns the root element's name, or "" when malformed.
class XmlChecker {
public:
    explicit XmlChecker(std::string text) : m_s(std::move(text)) {}

    std::string Root() {
        while (m_pos < m_s.size()) {
            if (!(m_s[m_pos] == '<' ? Markup() : Text())) {
                return {};
            }
        }
        return m_stack.empty() && m_roots == 1 ? m_root : std::string();
    }

private:
    bool Skip(const char* end) {
        const std::size_t at = m_s.find(end, m_pos);
        m_pos = at == std::string::npos ? at : at + std::string(end).size();
        return at != std::string::npos;
    }

    std::string Name() {
        const std::size_t start = m_pos;
        while (m_pos < m_s.size() &&
               (std::isalnum(static_cast<unsigned char>(m_s[m_pos])) ||
                std::string_view(":_-.").find(m_s[m_pos]) != std::string_view::npos)) {
            ++m_pos;
        }
        return m_s.substr(start, m_pos - start);
    }

    void Space() {
        while (m_pos < m_s.size() && std::isspace(static_cast<unsigned char>(m_s[m_pos]))) {
            ++m_pos;
        }
    }

    bool Text() {
        const std::size_t end = std::min(m_s.find('<', m_pos), m_s.size());
        const std::string text = m_s.substr(m_pos, end - m_pos);
        m_pos = end;
        const bool blank = text.find_first_not_of(" \t\r\n") == std::string::npos;
        return (blank || !m_stack.empty()) && Entities(text);
    }

    static bool Entities(const std::string& text) {
        for (std::size_t at = text.find('&'); at != std::string::npos;
             at = text.find('&', at + 1)) {
            const std::size_t semi = text.find(';', at);
            if (semi == std::string::npos || semi == at + 1 ||
                text.find_first_of(" <&", at + 1) < semi) {
                return false;
            }
        }
        return text.find('<') == std::string::npos;
    }

    bool Markup() {
        if (m_s.compare(m_pos, 2, "<?") == 0) {
            return Skip("?>");
        }
        if (m_s.compare(m_pos, 4, "<!--") == 0) {
            return Skip("-->");
        }
        if (m_s.compare(m_pos, 2, "</") == 0) {
            m_pos += 2;
            const std::string name = Name();
            Space();
            if (m_stack.empty() || m_stack.back() != name || m_s[m_pos] != '>') {
                return false;
            }
            m_stack.pop_back();
            ++m_pos;
            return true;
        }
        return Element();
    }

    bool Element() {
        ++m_pos;
        const std::string name = Name();
        if (name.empty()) {
            return false;
        }
        if (m_stack.empty()) {
            m_root = name;
            ++m_roots;
        }
        for (;;) {
            Space();
            if (m_s.compare(m_pos, 2, "/>") == 0) {
                m_pos += 2;
                return true;
            }
            if (m_s.compare(m_pos, 1, ">") == 0) {
                ++m_pos;
                m_stack.push_back(name);
                return true;
            }
            if (!Attribute()) {
                return false;
            }
        }
    }

    bool Attribute() {
        if (Name().empty()) {
            return false;
        }
        Space();
        if (m_pos >= m_s.size() || m_s[m_pos] != '=') {
            return false;
        }
        ++m_pos;
        Space();
        if (m_pos >= m_s.size() || (m_s[m_pos] != '"' && m_s[m_pos] != '\'')) {
            return false;
        }
        const std::size_t close = m_s.find(m_s[m_pos], m_pos + 1);
        if (close == std::string::npos || !Entities(m_s.substr(m_pos + 1, close - m_pos - 1))) {
            return false;
        }
        m_pos = close + 1;
        return true;
    }

    std::string m_s;
    std::size_t m_pos = 0;
    std::vector<std::string> m_stack;
    std::string m_root;
    int m_roots = 0;
};

TEST(BatchRenderXmlCheck, TellsWellFormedFromBroken) {
    const struct {
        std::string xml;
        std::string root;
    } cases[] = {
        {"<?xml version=\"1.0\"?>\n<svg a=\"1\" b='x &amp; y'><g><rect/></g></svg>\n", "svg"},
        {"<svg><g></svg></g>", ""},
        {"<svg><g></svg>", ""},
        {"<svg a=1></svg>", ""},
        {"<svg>a & b</svg>", ""},
        {"<svg></svg><svg></svg>", ""},
        {"text<svg></svg>", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(XmlChecker(c.xml).Root(), c.root) << c.xml;
    }
}

TEST(BatchRender, PngIsTheScrollArea) {
    const struct {
        std::vector<std::string> args;
        long width, height;
    } cases[] = {
        {{}, 420, 79}, // one row at pitch 69 below the origin 10
        {{"--scale", "2"}, 840, 158},
        {{"--scale", "3"}, 1260, 237},
        {{"--repeat", "3"}, 420, 3 * 69 + 10},
        {{"--bar-height", "100"}, 420, 100 + 19 + 10},
        {{"-t", "ean13"}, 420, 50 + 2 * 10 + 19 + 10}, // guard extra 10, twice in the pitch
        {{"--truetype"}, 420, 48 + 10},
        {{"--text-font", "Arial:-28"}, 420, 50 + 37 + 10},
        {{"--no-text"}, 420, 79}, // the pitch keeps the text height
        {{"--origin", "0,0"}, 410, 69},
        // 192 modules of three units, with the origin as margins on both sides
        {{"--line-width", "3"}, 10 + 192 * 3 + 10, 79},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        const ProcessResult r = Batch(Concat(c.args, {"-o", dir / "out.png"}));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, EanDefaultWarning(c.args));
        EXPECT_EQ(PngSize(dir / "out.png"), std::make_pair(c.width, c.height))
            << testing::PrintToString(c.args);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.png"});
    }
}

TEST(BatchRender, SvgIsWellFormedAndOfTheSameSize) {
    const struct {
        std::vector<std::string> args;
        std::string viewBox;
    } cases[] = {
        {{}, "viewBox=\"0 0 420 79\""},
        {{"--scale", "2"}, "viewBox=\"0 0 840 158\""},
        {{"-t", "ean13", "--repeat", "2"}, "viewBox=\"0 0 420 188\""},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        const ProcessResult r = Batch(Concat(c.args, {"-o", dir / "out.svg"}));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, EanDefaultWarning(c.args));
        const std::string svg = Slurp(dir / "out.svg");
        EXPECT_EQ(XmlChecker(svg).Root(), "svg");
        EXPECT_NE(svg.find(c.viewBox), std::string::npos) << svg.substr(0, 300);
    }
}

// Colours and fonts reach the drawing: the SVG names them.
TEST(BatchRender, SettingsReachTheDrawing) {
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    } cases[] = {
        {{"--bar-color", "0000FF", "--space-color", "#ffff00", "--text-color", "FF0000"},
         {"fill=\"#0000ff\"", "fill=\"#ffff00\"", "fill=\"#ff0000\""},
         {"fill=\"#000000\""}},
        {{"--no-text", "--text-font", "Liberation Mono:-20"}, {}, {"Liberation Mono"}},
        {{"--text-font", "Liberation Mono:-20"}, {"font-family=\"Liberation Mono\""}, {}},
        {{"--truetype", "--barcode-font-color", "00ff00", "--barcode-font", "Liberation Serif:-33"},
         {"fill=\"#00ff00\"", "font-family=\"Liberation Serif\"", "font-size=\"33\""},
         {}},
        {{"--truetype", "--no-text"}, {"font-family=\"Free 3 of 9\""}, {"font-family=\"Arial\""}},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        const ProcessResult r = Batch(Concat(c.args, {"-o", dir / "out.svg"}));
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string svg = Slurp(dir / "out.svg");
        for (const std::string& s : c.present) {
            EXPECT_NE(svg.find(s), std::string::npos) << s;
        }
        for (const std::string& s : c.absent) {
            EXPECT_EQ(svg.find(s), std::string::npos) << s;
        }
    }
}

// Every bad request is one line on standard error, exit status 2, and leaves the
// directory as it was: an existing file keeps its content, nothing new appears.
TEST(BatchRender, BadRequestsChangeNothing) {
    const struct {
        std::vector<std::string> args;
        std::string fragment;
    } cases[] = {
        {{"-o", "keep.gif"}, "unknown output type"},
        {{"-o", "keep"}, "unknown output type"},
        {{"-o", "missing/out.png"}, "there is no directory"},
        {{"-o", "keep.png/out.png"}, "there is no directory"}, // its parent is a file
        {{"-o", "sub.png"}, "it is a directory"},
        {{"--line-width", "0", "-o", "keep.png"}, "--line-width must be an integer from 1 to 100"},
        {{"--line-width", "101", "-o", "keep.png"}, "from 1 to 100"},
        {{"--line-width", "2x", "-o", "keep.png"}, "not \"2x\""},
        {{"--bar-height", "0", "-o", "keep.png"}, "--bar-height must be an integer from 1"},
        {{"--bar-height", "10001", "-o", "keep.svg"}, "to 10000"},
        {{"--origin", "5", "-o", "keep.png"}, "--origin needs X,Y"},
        {{"--origin", "1,2,3", "-o", "keep.png"}, "--origin needs X,Y"},
        {{"--origin", "-1,0", "-o", "keep.png"}, "--origin needs X,Y"},
        {{"--repeat", "0", "-o", "keep.png"}, "--repeat must be an integer from 1"},
        {{"--scale", "17", "-o", "keep.png"}, "--scale must be an integer from 1 to 16"},
        {{"--scale", "0", "-o", "keep.svg"}, "--scale must be an integer from 1 to 16"},
        {{"--bar-color", "12345", "-o", "keep.png"}, "--bar-color needs a colour as RRGGBB"},
        {{"--space-color", "GG0000", "-o", "keep.png"}, "--space-color needs a colour"},
        {{"--text-color", "#1234567", "-o", "keep.png"}, "--text-color needs a colour"},
        {{"--barcode-font-color", "", "-o", "keep.png"}, "--barcode-font-color needs a colour"},
        {{"--text-font", "Arial", "-o", "keep.png"}, "--text-font needs FACE:HEIGHT"},
        {{"--text-font", ":-14", "-o", "keep.png"}, "--text-font needs FACE:HEIGHT"},
        {{"--text-font", "Arial:14", "-o", "keep.png"}, "from -1000 to -1"},
        {{"--barcode-font", "Arial:-1001", "-o", "keep.png"}, "from -1000 to -1"},
        {{"--barcode-font", std::string(32, 'F') + ":-14", "-o", "keep.png"}, "at most 31"},
        {{"--barcode-font", "\xE2\x82\xAC:-14", "-o", "keep.png"}, "must be Latin-1"},
        {{"-i", "keep.png", "-o", "keep.png"}, "is the input file; it is never written"},
        {{"-o", "pipe.png"}, "it is not a regular file"},
        {{"-o", "keep\xFF.png"}, "not valid in the system's encoding"},
        {{"--line-width", "6", "-o", "keep.pdf"}, "the rows do not fit on the page"},
        {{"--origin", "10000,10", "-o", "keep.pdf"}, "the rows do not fit on the page"},
        {{"--bar-height", "10000", "-o", "keep.pdf"}, "no row fits on the page"},
        {{"-i", "missing.txt", "-o", "keep.png"}, "missing.txt"},
        {{"-o"}, "option -o needs a value"},
        {{"--dump", "-o", "keep.png"}, "--dump and -o cannot be used together"},
        {{"--dump", "--repeat", "2"}, "--repeat is for rendering"},
        {{"--scale", "2"}, "nothing to do"},
        {{"--repeat", "10000", "-o", "keep.png"}, "drawing too large: 690010 units high"},
        {{"--scale", "16", "--repeat", "30", "-o", "keep.svg"}, "drawing too large"},
        {{"--origin", "0,0", "", "-o", "keep.png"}, "nothing to draw"},
        {{"-o", "keep.png", "-o", "keep.svg"}, "option -o given more than once"},
        {{"-i", "missing.txt", "--input", "missing.txt", "-o", "keep.png"},
         "option --input given more than once"},
        {{"-t", "0", "--type", "1", "-o", "keep.png"}, "option --type given more than once"},
        {{"-i", "pipe.png", "-o", "keep.svg"}, "pipe.png\": it is not a regular file"},
        {{"-i", "/dev/zero", "-o", "keep.svg"}, "\"/dev/zero\": it is not a regular file"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        dir.Write("keep.png", "old");
        dir.Write("keep.svg", "old");
        fs::create_directory(dir / "sub.png");
        ASSERT_EQ(::mkfifo((dir / "pipe.png").c_str(), 0600), 0);
        std::vector<std::string> args = c.args;
        for (std::string& a : args) { // file names live in the scratch directory
            if (a.find("keep") == 0 || a.find("missing") == 0 || a == "sub.png" ||
                a == "pipe.png") {
                a = dir / a;
            }
        }
        const ProcessResult r = Batch(args);
        EXPECT_EQ(r.status, 2) << testing::PrintToString(c.args);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("tavik-batch: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.fragment), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(dir.Entries(),
                  (std::vector<std::string>{"keep.png", "keep.svg", "pipe.png", "sub.png"}));
        EXPECT_EQ(Slurp(dir / "keep.png"), "old");
        EXPECT_EQ(Slurp(dir / "keep.svg"), "old");
    }
}

// A refused row is reported as --dump reports it, exit status 1; the file is still
// written. A refused TEXT shows only its text, as the view does; one with no
// 8-bit form, a refused list line and a line with a NUL byte leave the row empty.
TEST(BatchRender, RefusedRowsAreReportedAndTheFileWritten) {
    const struct {
        std::vector<std::string> args;
        std::string input;
        std::string err;
        std::vector<std::string> decoded;
    } cases[] = {
        {{"-t", "ean13", "ABC"},
         "",
         "Error while encoding text \"ABC\". Character 1, \"A\", is not in EAN-13 (digits 0-9).\n",
         {}},
        {{"-t", "i2of5", "123"},
         "",
         "Error while encoding text \"123\". Interleaved 2 of 5 takes an even number of digits; "
         "the text has 3.\n",
         {}},
        {{"-t", "code39", "-i", "-"},
         "A\n#\nB\n",
         "line 2: Error while encoding text \"#\". Character 1, \"#\", is not in Code 39 (0-9, "
         "A-Z, a-z, space, - . $ / + % *).\n",
         {"A", "B"}},
        {{"-t", "code128b", "-i", "-"},
         "ok\n\xE9t\xE9\nfine\n",
         "line 2: Error while encoding text \"\xC3\xA9t\xC3\xA9\". Character 1, byte 0xE9, is not "
         "in Code 128 subset B (ASCII 32-126, code bytes 195-206).\n", // Latin-1 shown as UTF-8
         {"fine", "ok"}},
        {{"A\xE2\x82\xAC"},
         "",
         "Error while encoding text \"A\xE2\x82\xAC\". The text has characters beyond Latin-1 "
         "(8-bit).\n",
         {}},
        {{"-t", "code128b", "-i", "-"}, // UTF-8 after a byte-order mark
         "\xEF\xBB\xBFok\n\xC3\xA9t\xC3\xA9\n\xE6\x97\xA5\xE6\x9C\xAC\nfine\n",
         "line 2: Error while encoding text \"\xC3\xA9t\xC3\xA9\". Character 1, byte 0xE9, is not "
         "in Code 128 subset B (ASCII 32-126, code bytes 195-206).\n"
         "line 3: Error while encoding text \"\xE6\x97\xA5\xE6\x9C\xAC\". The text has characters "
         "beyond Latin-1 (8-bit).\n",
         {"fine", "ok"}},
        {{"-i", "-"},
         std::string("AB\0CD\nEF\x1B]0;x\a\n", 15),
         "line 1: Error while encoding text \"AB\\x00CD\". Character 3 is a NUL byte, which would "
         "end the text.\n"
         "line 2: Error while encoding text \"EF\\x1B]0;x\\x07\". Character 3, byte 0x1B, is not "
         "in Code 39 (0-9, A-Z, a-z, space, - . $ / + % *).\n",
         {}},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        const ProcessResult r =
            Batch(Concat(c.args, {"--scale", "2", "-o", dir / "out.png"}), c.input);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
        EXPECT_GT(PngSize(dir / "out.png").first, 0);
        EXPECT_EQ(Decode(dir / "out.png"), c.decoded) << testing::PrintToString(c.args);
    }
}

// A list after a byte-order mark reads the same in every mode, from a file and from
// standard input: the mark skipped, Latin-1 lines converted, a line beyond it refused.
TEST(BatchRender, ByteOrderMarkListReadsTheSameEverywhere) {
    const std::string list = "\xEF\xBB\xBF"
                             "ABC\r\n\xC3\x89T\xC3\x89\n\xE6\x97\xA5\xE6\x9C\xAC\rXYZ";
    const std::string problems =
        "line 2: Error while encoding text \"\xC3\x89T\xC3\x89\". Character 1, byte 0xC9, is "
        "not in Code 39 (0-9, A-Z, a-z, space, - . $ / + % *).\n"
        "line 3: Error while encoding text \"\xE6\x97\xA5\xE6\x9C\xAC\". The text has characters "
        "beyond Latin-1 (8-bit).\n";
    const std::string rows = Batch({"--dump", "ABC"}).out + "\n\n" + Batch({"--dump", "XYZ"}).out;
    ScratchDir dir;
    dir.Write("list.txt", list);
    for (const std::string& input : {dir / "list.txt", std::string("-")}) {
        const std::string stdinBytes = input == "-" ? list : "";
        const ProcessResult dump = Batch({"--dump", "-i", input}, stdinBytes);
        EXPECT_EQ(dump.status, 1);
        EXPECT_EQ(dump.out, rows);
        EXPECT_EQ(dump.err, problems);
        const ProcessResult check = Batch({"--check", "-i", input}, stdinBytes);
        EXPECT_EQ(check.status, 1);
        EXPECT_EQ(check.out, problems + "4 lines, 2 refused, 0 differ\n");
        const ProcessResult drawn =
            Batch({"-i", input, "--scale", "2", "-o", dir / "out.png"}, stdinBytes);
        EXPECT_EQ(drawn.status, 1);
        EXPECT_EQ(drawn.err, problems);
        EXPECT_EQ(Decode(dir / "out.png"), (std::vector<std::string>{"ABC", "XYZ"})) << input;
    }
}

// A row whose bars read differently is drawn, with a warning; --strict draws it empty, as
// a refused row, and fails (a TEXT then shows only its text). In TrueType mode the bars are
// the font's: only refusals count.
TEST(BatchRender, StrictEmptiesRowsWhoseBarsReadDifferently) {
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::vector<std::string> decoded;
    } cases[] = {
        {{"-i", "-"}, "abc\nXYZ\n", 0, {"ABC", "XYZ"}},
        {{"--strict", "-i", "-"}, "abc\nXYZ\n", 1, {"XYZ"}},
        {{"--strict", "abc"}, "", 1, {}},
        {{"--strict", "--truetype", "*ABC*"}, "", 0, {"ABC"}},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        const ProcessResult r =
            Batch(Concat(c.args, {"--scale", "2", "-o", dir / "out.png"}), c.input);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(Decode(dir / "out.png"), c.decoded) << testing::PrintToString(c.args);
    }
}

TEST(BatchRender, EverySymbologyDecodes) {
    const struct {
        std::vector<std::string> args;
        std::string decoded;
    } cases[] = {
        {{"-t", "code39", "ABC-123"}, "ABC-123"},
        {{"-t", "code39"}, "0123456789"}, // the view's own default text
        {{"-t", "code93", "CODE 93"}, "CODE 93"},
        {{"-t", "code128a", "HELLO"}, "HELLO"},
        {{"-t", "code128b", "Hello, World 42"}, "Hello, World 42"},
        {{"-t", "code128c", "12345678"}, "12345678"},
        {{"-t", "ean13", "590123412345"}, "5901234123457"}, // ZBar adds the check digit
        {{"-t", "i2of5", "12345678"}, "12345678"},
        {{"-t", "code128b", "--line-width", "2", "--scale", "1", "Wide"}, "Wide"},
        {{"-t", "code93", "--bar-color", "000080", "--space-color", "FFFFE0", "DARK"}, "DARK"},
        {{"-t", "ean13", "--bar-height", "30", "--no-text", "400638133393"}, "4006381333931"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        // Scale 2 unless the case gives its own (an option is given at most once).
        const bool scaled = std::find(c.args.begin(), c.args.end(), "--scale") != c.args.end();
        const ProcessResult r = Batch(
            Concat(scaled ? std::vector<std::string>{} : std::vector<std::string>{"--scale", "2"},
                   Concat(c.args, {"-o", dir / "o.png"})));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Decode(dir / "o.png"), std::vector<std::string>{c.decoded})
            << testing::PrintToString(c.args);
    }
}

TEST(BatchRender, EveryLineOfATextListDecodes) {
    const std::string list = "ALPHA\nBravo 2\r\ncharlie-3\rDELTA\n\n(echo)";
    const std::vector<std::string> expected = {"(echo)", "ALPHA", "Bravo 2", "DELTA", "charlie-3"};
    ScratchDir dir;
    dir.Write("list.txt", list);
    const struct {
        std::vector<std::string> args;
        std::string input;
    } cases[] = {
        {{"-i", dir / "list.txt"}, ""},
        {{"-i", "-"}, list},
    };
    for (const auto& c : cases) {
        const std::string out = dir / "rows.png";
        const ProcessResult r =
            Batch(Concat(c.args, {"-t", "code128b", "--scale", "2", "-o", out}), c.input);
        EXPECT_EQ(r.status, 1) << r.err; // the empty line is an empty row, and refused
        EXPECT_EQ(r.err, "line 5: empty line\n");
        EXPECT_EQ(PngSize(out), std::make_pair(840L, 2L * (6 * 69 + 10)));
        EXPECT_EQ(Decode(out), expected);
    }
}

// The bundled Code 39 font stands in for "Free 3 of 9": its glyphs are real bars.
// At scale 1 the 29-pixel font's narrowest bars fall below one pixel and blur.
TEST(BatchRender, TrueTypeModeDrawsCode39) {
    for (const std::string text : {"*TAVIK*", "*ABC-123*"}) {
        ScratchDir dir;
        const ProcessResult r = Batch({"--truetype", "--scale", "2", text, "-o", dir / "t.png"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Decode(dir / "t.png"), std::vector<std::string>{text.substr(1, text.size() - 2)});
    }
}

TEST(BatchRender, HelpListsEveryOption) {
    const ProcessResult help = Batch({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option :
         {"--dump", "--type", "--input", "--output", "--scale", "--line-width", "--bar-height",
          "--origin", "--repeat", "--no-text", "--truetype", "--bar-color", "--space-color",
          "--text-color", "--barcode-font-color", "--text-font", "--barcode-font", "--help",
          "--version"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
}

// A full disk: PNG, SVG and PDF alike give the system's reason and leave nothing.
TEST(BatchRender, FullDiskGivesTheSystemsReason) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "a small full file system needs root to mount a tmpfs";
    }
    ScratchDir dir;
    const std::string disk = dir / "disk";
    fs::create_directory(disk);
    if (RunProcess("/bin/mount", {"-t", "tmpfs", "-o", "size=8k", "tavik-full", disk}).status !=
        0) {
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    }
    for (const char* name : {"out.png", "out.svg", "out.pdf"}) {
        const ProcessResult r = Batch({"--repeat", "60", "-o", disk + "/" + name});
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_EQ(r.err,
                  "tavik-batch: cannot write " + disk + "/" + name + ": No space left on device\n");
        EXPECT_TRUE(fs::is_empty(disk)) << name;
    }
    RunProcess("/bin/umount", {disk});
}

} // namespace
