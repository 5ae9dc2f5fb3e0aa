// Round trip through an independent decoder: element buffers are painted into
// a grey image in memory and read back with ZXing; the row reader must read the
// same rows as ZXing does.

#include "Barcode128.h"
#include "Barcode39.h"
#include "Barcode93.h"
#include "BarcodeEan13.h"
#include "BarcodeI2of5.h"
#include "support/Printable.h"
#include "support/ReadBack.h"

#define ZX_USE_UTF8 // text() as UTF-8; only bytes() is used here
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kTexts = 300;
constexpr int kQuietModules = 12;
constexpr int kRows = 12;

struct Image {
    std::vector<std::uint8_t> pixels;
    int width = 0;
    int height = 0;
};

int ElementModules(const CBarcodeBase& b, std::uint8_t e) {
    return (e & ELEMENT_WIDE) ? b.wideRatio : 1;
}

// Black bars on white, scale pixels per module, a quiet zone on both sides.
Image Rasterise(const CBarcodeBase& b, int scale) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(kQuietModules * scale), 255);
    for (int i = 0; i < b.length; ++i) {
        const std::uint8_t e = b.elements[i];
        const std::uint8_t grey = (e & ELEMENT_BAR) ? 0 : 255;
        row.insert(row.end(), static_cast<std::size_t>(ElementModules(b, e) * scale), grey);
    }
    row.insert(row.end(), static_cast<std::size_t>(kQuietModules * scale), 255);

    Image image;
    image.width = static_cast<int>(row.size());
    image.height = kRows;
    for (int y = 0; y < kRows; ++y) {
        image.pixels.insert(image.pixels.end(), row.begin(), row.end());
    }
    return image;
}

// The raw bytes ZXing reads from the image, or nullopt when it finds nothing.
std::optional<std::string> Read(const Image& image, ZXing::BarcodeFormat format) {
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setTryRotate(false);
    hints.setTryCode39ExtendedMode(false); // Code 39 here is the plain character set
    const ZXing::ImageView view(image.pixels.data(), image.width, image.height,
                                ZXing::ImageFormat::Lum);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid()) {
        return std::nullopt;
    }
    const auto& bytes = result.bytes();
    return std::string(bytes.begin(), bytes.end());
}

class Random {
public:
    explicit Random(unsigned seed) : rng_(seed) {}
    int Between(int first, int last) {
        return std::uniform_int_distribution<int>(first, last)(rng_);
    }
    bool Chance(int percent) { return Between(0, 99) < percent; }
    char From(std::string_view alphabet) {
        return alphabet[static_cast<std::size_t>(
            Between(0, static_cast<int>(alphabet.size()) - 1))];
    }
    std::string Text(std::string_view alphabet, int minLength, int maxLength) {
        std::string text(static_cast<std::size_t>(Between(minLength, maxLength)), ' ');
        for (char& c : text) {
            c = From(alphabet);
        }
        return text;
    }

private:
    std::mt19937 rng_;
};

std::string Range(int first, int last) {
    std::string s;
    for (int c = first; c <= last; ++c) {
        s += static_cast<char>(c);
    }
    return s;
}

// A text to encode and the bytes a reader must return for it.
struct Sample {
    std::string text;
    std::string expected;
};

// The row reader's text as ZXing transmits it: without the Code 128 code bytes
// (subset changes and SHIFT), which ZXing acts on and does not return.
std::string Transmitted(std::string text, Symbology symbology) {
    if (symbology == Symbology::Code128A) {
        std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) >= 195; });
    }
    return text;
}

// Encodes every sample, reads it back at 2 and 3 pixels per module, and
// compares; the row reader reads the buffer as ZXing reads the image.
template <typename Encoder, typename Encode>
void ExpectRoundTrips(const std::vector<Sample>& samples, ZXing::BarcodeFormat format,
                      Symbology symbology, Encoder& encoder, Encode encode) {
    int scale = 2;
    for (const Sample& s : samples) {
        encoder.Clear();
        ASSERT_TRUE(encode(encoder, s.text)) << Printable(s.text);
        const std::optional<std::string> decoded = Read(Rasterise(encoder, scale), format);
        EXPECT_EQ(decoded, s.expected) << Printable(s.text);
        EXPECT_EQ(Transmitted(ReadBack(encoder, symbology), symbology), decoded.value_or("-"))
            << Printable(s.text);
        scale = 5 - scale;
    }
}

// ---------------------------------------------------------------------------

// Code 39 without "*" (the reader stops at it) and with at least one
// character (the reader returns nothing for an empty symbol). Lower case is
// encoded as upper case.
TEST(DecodeRoundTrip, Code39) {
    Random random(39);
    const std::string alphabet =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-. $/+%";
    std::vector<Sample> samples;
    for (int i = 0; i < kTexts; ++i) {
        Sample s{random.Text(alphabet, 1, 30), {}};
        for (const char c : s.text) {
            s.expected += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        samples.push_back(s);
    }
    CBarcode39 encoder;
    ExpectRoundTrips(samples, ZXing::BarcodeFormat::Code39, Symbology::Code39, encoder,
                     [](CBarcode39& b, const std::string& t) { return b.Encode(t.c_str()); });
}

// Full ASCII 1..127: the reader always expands the shift pairs. The check
// characters C and K are validated by the reader and not returned.
TEST(DecodeRoundTrip, Code93) {
    Random random(93);
    const std::string alphabet = Range(1, 127) + Range('A', 'Z') + Range('0', '9');
    std::vector<Sample> samples;
    for (int i = 0; i < kTexts; ++i) {
        const std::string text = random.Text(alphabet, 1, 30);
        samples.push_back({text, text});
    }
    CBarcode93 encoder;
    ExpectRoundTrips(samples, ZXing::BarcodeFormat::Code93, Symbology::Code93, encoder,
                     [](CBarcode93& b, const std::string& t) { return b.Encode(t.c_str()); });
}

// Code 128 texts that walk through the subsets with the code bytes CODE A
// (201 from B or C), CODE B (200 from A or C) and CODE C (199 from A or B),
// byte 195 for value 95 (US in A, DEL in B), and SHIFT (198) before a
// character, which the reader takes from the other subset while the encoder
// keeps reading in the current one. The code bytes are not part of the
// decoded text, and every text has at least one character: the reader
// returns nothing for a symbol without data. Left out: FNC1 to FNC4, which
// the reader turns into flags (GS1, reader initialisation, append) or high
// characters and does not return as bytes of their own; START and STOP
// patterns inside the data, where the reader sees the end of the symbol.
// Subset C holds whole digit pairs only: a last single digit reads back as
// "0d".
Sample Code128Text(Random& random, int subset) {
    constexpr char kCodeA = '\xC9', kCodeB = '\xC8', kCodeC = '\xC7', kValue95 = '\xC3';
    constexpr char kShift = '\xC6';
    Sample s;
    int current = subset;
    for (int n = random.Between(1, 20); n > 0 || s.expected.empty(); --n) {
        if (random.Chance(10)) {
            const int next = (current + random.Between(1, 2)) % 3;
            s.text += next == 0 ? kCodeA : (next == 1 ? kCodeB : kCodeC);
            current = next;
        } else if (current == 2) {
            const std::string pair = {static_cast<char>(random.Between('0', '9')),
                                      static_cast<char>(random.Between('0', '9'))};
            s.text += pair;
            s.expected += pair;
        } else if (random.Chance(5)) {
            s.text += kValue95;
            s.expected += current == 0 ? '\x1F' : '\x7F';
        } else if (random.Chance(5)) {
            // The value of c in the current subset, read in the other one.
            const char c =
                static_cast<char>(current == 0 ? random.Between(1, 95) : random.Between(32, 126));
            s.text += kShift;
            s.text += c;
            s.expected += static_cast<char>(c < 32 ? c + 96 : c >= 96 ? c - 96 : c);
        } else {
            const char c =
                static_cast<char>(current == 0 ? random.Between(1, 95) : random.Between(32, 126));
            s.text += c;
            s.expected += c;
        }
    }
    return s;
}

TEST(DecodeRoundTrip, Code128AllSubsets) {
    for (int subset = 0; subset < 3; ++subset) {
        SCOPED_TRACE("start subset " + std::to_string(subset));
        Random random(1280 + static_cast<unsigned>(subset));
        std::vector<Sample> samples;
        for (int i = 0; i < kTexts; ++i) {
            samples.push_back(Code128Text(random, subset));
        }
        CBarcode128 encoder;
        ExpectRoundTrips(
            samples, ZXing::BarcodeFormat::Code128, Symbology::Code128A, encoder,
            [subset](CBarcode128& b, const std::string& t) { return b.Encode(t.c_str(), subset); });
    }
}

char Ean13Check(std::string_view twelve) {
    int sum = 0;
    for (std::size_t i = 0; i < twelve.size(); ++i) {
        sum += (twelve[i] - '0') * (i % 2 == 0 ? 1 : 3);
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

// Short texts are padded with zeros on the right, anything after the twelfth
// byte is ignored; the reader returns all 13 digits.
TEST(DecodeRoundTrip, Ean13) {
    Random random(13);
    std::vector<Sample> samples;
    for (int i = 0; i < kTexts; ++i) {
        Sample s{random.Text("0123456789", 0, 12), {}};
        s.expected = s.text;
        s.expected.resize(12, '0');
        s.expected += Ean13Check(s.expected);
        if (s.text.size() == 12 && random.Chance(30)) {
            s.text += random.Text("0123456789X", 1, 4);
        }
        samples.push_back(s);
    }
    CBarcodeEan13 encoder;
    ExpectRoundTrips(samples, ZXing::BarcodeFormat::EAN13, Symbology::Ean13, encoder,
                     [](CBarcodeEan13& b, const std::string& t) { return b.Encode(t.c_str()); });
}

// The reader accepts Interleaved 2 of 5 from six digits on; shorter symbols
// are too easily found in noise and are left out.
TEST(DecodeRoundTrip, I2of5) {
    Random random(25);
    std::vector<Sample> samples;
    for (int i = 0; i < kTexts; ++i) {
        const std::string text = random.Text("0123456789", 3, 20) + random.Text("0123456789", 3, 3);
        const std::string even = text.substr(0, text.size() & ~std::size_t{1});
        samples.push_back({even, even});
    }
    CBarcodeI2of5 encoder;
    ExpectRoundTrips(samples, ZXing::BarcodeFormat::ITF, Symbology::I2of5, encoder,
                     [](CBarcodeI2of5& b, const std::string& t) { return b.Encode(t.c_str()); });
}

} // namespace
