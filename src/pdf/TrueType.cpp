#include "TrueType.h"

#include <algorithm>
#include <array>

namespace pdf {

namespace {

unsigned U16(std::string_view d, std::size_t at) {
    if (at + 2 > d.size()) {
        return 0;
    }
    return (unsigned(static_cast<unsigned char>(d[at])) << 8) |
           static_cast<unsigned char>(d[at + 1]);
}

int S16(std::string_view d, std::size_t at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(U16(d, at)));
}

std::uint32_t U32(std::string_view d, std::size_t at) {
    return (std::uint32_t{U16(d, at)} << 16) | U16(d, at + 2);
}

void Put16(std::string& s, unsigned v) {
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
    s.push_back(static_cast<char>(v & 0xFF));
}

void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v >> 16);
    Put16(s, v & 0xFFFF);
}

void Set32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        s[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
    }
}

std::uint32_t CheckSum(std::string_view d) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < d.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            word = (word << 8) | (i + k < d.size() ? static_cast<unsigned char>(d[i + k]) : 0U);
        }
        sum += word;
    }
    return sum;
}

// Where each glyph's outline starts in glyf, numGlyphs + 1 offsets; empty when unreadable.
std::vector<std::uint32_t> GlyphOffsets(const FontTables& font, unsigned numGlyphs) {
    const std::string_view head = font.Find("head");
    const std::string_view loca = font.Find("loca");
    const std::string_view glyf = font.Find("glyf");
    const bool longOffsets = S16(head, 50) != 0;
    if (head.size() < 54 || loca.size() < (numGlyphs + 1) * (longOffsets ? 4U : 2U)) {
        return {};
    }
    std::vector<std::uint32_t> offsets(numGlyphs + 1);
    for (unsigned g = 0; g <= numGlyphs; ++g) {
        offsets[g] = longOffsets ? U32(loca, 4 * g) : 2 * U16(loca, 2 * g);
        if (offsets[g] > glyf.size() || (g > 0 && offsets[g] < offsets[g - 1])) {
            return {};
        }
    }
    return offsets;
}

// The glyphs a composite glyph is made of.
void AddComponents(std::string_view glyph, std::vector<unsigned>& out) {
    if (glyph.size() < 10 || S16(glyph, 0) >= 0) {
        return;
    }
    constexpr unsigned kWords = 0x1, kScale = 0x8, kMore = 0x20, kXYScale = 0x40, kTwoByTwo = 0x80;
    std::size_t at = 10;
    unsigned flags = 0;
    do {
        if (at + 4 > glyph.size()) {
            return;
        }
        flags = U16(glyph, at);
        out.push_back(U16(glyph, at + 2));
        at += 4 + ((flags & kWords) != 0 ? 4 : 2);
        at += (flags & kScale) != 0      ? 2
              : (flags & kXYScale) != 0  ? 4
              : (flags & kTwoByTwo) != 0 ? 8
                                         : 0;
    } while ((flags & kMore) != 0);
}

// A font file of the tables (in tag order), version its first four bytes.
std::string Sfnt(std::uint32_t version,
                 const std::vector<std::pair<const char*, std::string_view>>& out) {
    const auto count = static_cast<unsigned>(out.size());
    unsigned power = 1, log2 = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log2;
    }
    std::string sfnt;
    Put32(sfnt, version);
    Put16(sfnt, count);
    Put16(sfnt, power * 16);
    Put16(sfnt, log2);
    Put16(sfnt, count * 16 - power * 16);
    std::size_t offset = 12 + 16 * std::size_t{count};
    std::size_t headAt = 0;
    for (const auto& [tag, data] : out) {
        sfnt.append(tag, 4);
        Put32(sfnt, CheckSum(data));
        Put32(sfnt, static_cast<std::uint32_t>(offset));
        Put32(sfnt, static_cast<std::uint32_t>(data.size()));
        if (tag == std::string_view("head")) {
            headAt = offset;
        }
        offset += (data.size() + 3) & ~std::size_t{3};
    }
    for (const auto& entry : out) {
        sfnt.append(entry.second);
        sfnt.resize((sfnt.size() + 3) & ~std::size_t{3}, '\0');
    }
    if (headAt != 0) {
        Set32(sfnt, headAt + 8, 0xB1B0AFBA - CheckSum(sfnt));
    }
    return sfnt;
}

} // namespace

std::string_view FontTables::Find(std::string_view tag) const {
    for (const auto& [name, data] : tables) {
        if (name == tag) {
            return data;
        }
    }
    return {};
}

int FontMetrics::Advance(unsigned glyph) const {
    if (advances.empty()) {
        return 0;
    }
    return advances[std::min<std::size_t>(glyph, advances.size() - 1)];
}

FontMetrics ReadMetrics(const FontTables& font) {
    FontMetrics m;
    const std::string_view head = font.Find("head");
    const std::string_view hhea = font.Find("hhea");
    const std::string_view hmtx = font.Find("hmtx");
    const unsigned units = U16(head, 18);
    m.unitsPerEm = units >= 16 ? static_cast<int>(units) : 1000;
    m.xMin = S16(head, 36);
    m.yMin = S16(head, 38);
    m.xMax = S16(head, 40);
    m.yMax = S16(head, 42);
    m.ascent = S16(hhea, 4);
    m.descent = S16(hhea, 6);
    const unsigned metrics = std::min<std::size_t>(U16(hhea, 34), hmtx.size() / 4);
    for (unsigned g = 0; g < metrics; ++g) {
        m.advances.push_back(static_cast<std::uint16_t>(U16(hmtx, 4 * g)));
    }
    const unsigned glyphs = U16(font.Find("maxp"), 4);
    m.outlines = !font.Find("glyf").empty() && !GlyphOffsets(font, glyphs).empty();
    return m;
}

std::string SubsetFont(const FontTables& font, std::vector<bool> keep) {
    const unsigned numGlyphs = U16(font.Find("maxp"), 4);
    const std::vector<std::uint32_t> offsets = GlyphOffsets(font, numGlyphs);
    if (offsets.empty() || numGlyphs == 0) {
        return {};
    }
    const std::string_view glyf = font.Find("glyf");
    keep.resize(numGlyphs);
    keep[0] = true;
    std::vector<unsigned> work;
    for (unsigned g = 0; g < numGlyphs; ++g) {
        if (keep[g]) {
            work.push_back(g);
        }
    }
    while (!work.empty()) {
        const unsigned g = work.back();
        work.pop_back();
        std::vector<unsigned> parts;
        AddComponents(glyf.substr(offsets[g], offsets[g + 1] - offsets[g]), parts);
        for (const unsigned p : parts) {
            if (p < numGlyphs && !keep[p]) {
                keep[p] = true;
                work.push_back(p);
            }
        }
    }
    std::string newGlyf;
    std::string newLoca;
    for (unsigned g = 0; g < numGlyphs; ++g) {
        Put32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));
        if (keep[g]) {
            newGlyf.append(glyf.substr(offsets[g], offsets[g + 1] - offsets[g]));
            newGlyf.resize((newGlyf.size() + 3) & ~std::size_t{3}, '\0');
        }
    }
    Put32(newLoca, static_cast<std::uint32_t>(newGlyf.size()));
    std::string newHead(font.Find("head"));
    newHead[50] = 0; // long offsets in loca
    newHead[51] = 1;
    Set32(newHead, 8, 0); // checkSumAdjustment, set below

    // The tables a PDF reader uses for TrueType outlines, in tag order.
    constexpr std::array<const char*, 9> kTags{"cvt ", "fpgm", "glyf", "head", "hhea",
                                               "hmtx", "loca", "maxp", "prep"};
    std::vector<std::pair<const char*, std::string_view>> out;
    for (const char* tag : kTags) {
        const std::string_view t = tag == std::string_view("glyf")   ? std::string_view(newGlyf)
                                   : tag == std::string_view("loca") ? std::string_view(newLoca)
                                   : tag == std::string_view("head") ? std::string_view(newHead)
                                                                     : font.Find(tag);
        if (!t.empty()) {
            out.emplace_back(tag, t);
        }
    }
    return Sfnt(0x00010000, out);
}

std::string OpenTypeFont(const FontTables& font) {
    if (font.Find("CFF ").empty()) {
        return {};
    }
    std::string head(font.Find("head"));
    if (head.size() >= 12) {
        Set32(head, 8, 0); // checkSumAdjustment, set below
    }
    // The tables an OpenType font with CFF outlines needs, in tag order.
    constexpr std::array<const char*, 9> kTags{"CFF ", "OS/2", "cmap", "head", "hhea",
                                               "hmtx", "maxp", "name", "post"};
    std::vector<std::pair<const char*, std::string_view>> out;
    for (const char* tag : kTags) {
        const std::string_view t =
            tag == std::string_view("head") ? std::string_view(head) : font.Find(tag);
        if (!t.empty()) {
            out.emplace_back(tag, t);
        }
    }
    return Sfnt(0x4F54544F, out); // OTTO
}

} // namespace pdf
