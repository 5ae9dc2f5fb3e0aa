#include "Dump.h"

#include "Barcode128.h"
#include "Barcode39.h"
#include "Barcode93.h"
#include "BarcodeEan13.h"
#include "BarcodeI2of5.h"
#include "BatchCommon.h"
#include "BatchOptions.h"
#include "Document.h"
#include "Latin1.h"
#include "TextLines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

// One encoder per symbology family, used as the view uses them: clear, then Encode.
struct Encoders {
    CBarcode39 code39;
    CBarcode93 code93;
    CBarcode128 code128;
    CBarcodeEan13 ean13;
    CBarcodeI2of5 i2of5;

    CBarcodeBase& For(int type) {
        switch (type) {
        case 0:
            return code39;
        case 1:
            return code93;
        case 2:
        case 3:
        case 4:
            return code128;
        case 5:
            return ean13;
        default:
            return i2of5;
        }
    }

    bool Encode(int type, const char* text) {
        For(type).Clear();
        switch (type) {
        case 0:
            return code39.Encode(text);
        case 1:
            return code93.Encode(text);
        case 2:
        case 3:
        case 4:
            return code128.Encode(text, type - 2);
        case 5:
            return ean13.Encode(text);
        case 6:
            return i2of5.Encode(text);
        default:
            return false;
        }
    }
};

class Dumper {
public:
    explicit Dumper(int type) : m_type(type) {}

    // Encodes one row and appends its digits (or nothing) and a newline.
    void Row(std::string_view text, long lineNumber) {
        m_text.assign(text); // NUL-terminated copy for the encoders
        // As in the view, a text holding a NUL byte is refused: the encoders
        // would stop at it.
        const bool ok =
            text.find('\0') == std::string_view::npos && m_encoders->Encode(m_type, m_text.c_str());
        if (ok) {
            const CBarcodeBase& b = m_encoders->For(m_type);
            for (int i = 0; i < b.length; ++i) {
                m_out.push_back(static_cast<char>('0' + b.elements[i]));
            }
        } else {
            Refused(Latin1ToUtf8(text), lineNumber);
        }
        m_out.push_back('\n');
        if (m_out.size() > (1u << 16)) {
            Flush();
        }
    }

    // Reports a refused row after the rows before it.
    void Refused(const std::string& shown, long lineNumber) {
        Flush();
        std::fflush(stdout);
        ReportRefused(shown, lineNumber);
        m_failed = true;
    }

    void Flush() {
        std::fwrite(m_out.data(), 1, m_out.size(), stdout);
        m_out.clear();
    }

    bool Failed() const { return m_failed; }
    void AddEmptyRow() { m_out.push_back('\n'); }

private:
    int m_type;
    std::unique_ptr<Encoders> m_encoders = std::make_unique<Encoders>();
    std::string m_text;
    std::string m_out;
    bool m_failed = false;
};

} // namespace

int Dump(const BatchOptions& o) {
    Dumper dump(o.type);
    if (o.input) {
        std::string bytes;
        if (!ReadAll(*o.input, bytes)) {
            const std::string name = *o.input == "-" ? "standard input" : *o.input;
            return Usage("cannot read " + name + ": " + ReadFailureReason(errno));
        }
        long line = 0;
        ForEachLine(bytes, [&](std::string_view text) { dump.Row(text, ++line); });
    } else {
        const std::string utf8 = o.text.value_or("0123456789");
        if (auto latin1 = Utf8ToLatin1(utf8)) {
            dump.Row(*latin1, 0);
        } else {
            dump.AddEmptyRow();
            dump.Refused(utf8, 0);
        }
    }
    dump.Flush();
    return FinishOutput(dump.Failed() ? 1 : 0);
}
