// Each row's bars read back and compared with the label.

#include "RowCheck.h"
#include "support/Printable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using S = Symbology;
using V = RowVerdict;

struct Case {
    Symbology symbology;
    std::string label;
    RowVerdict verdict;
    std::string detail; // what the bars read, or the reason
};

void ExpectChecks(std::initializer_list<Case> cases) {
    CRowChecker checker; // one checker for every case: nothing carries over
    for (const Case& c : cases) {
        const RowCheck check = checker.Check(c.label, c.symbology);
        SCOPED_TRACE(Printable(c.label) + " as symbology " +
                     std::to_string(static_cast<int>(c.symbology)));
        EXPECT_EQ(check.verdict, c.verdict);
        EXPECT_EQ(c.verdict == V::ReadsDifferently ? check.readsAs : check.reason, c.detail);
    }
}

TEST(RowCheck, MatchingLabels) {
    ExpectChecks({
        {S::Code39, "ABC-123", V::Matches, ""},
        {S::Code93, "Full ASCII\x01~", V::Matches, ""},
        {S::Code128A, "HELLO\r\n", V::Matches, ""},
        {S::Code128B,
         "Hello\xC7"
         "1234\xC9\x01",
         V::Matches, ""},
        {S::Code128C,
         "1234\xCA"
         "56",
         V::Matches, ""},
        {S::Ean13, "590123412345", V::Matches, ""},  // the check digit is added
        {S::Ean13, "5901234123457", V::Matches, ""}, // and may be given
        {S::I2of5, "0123456789", V::Matches, ""},
    });
}

// The encoders take an empty text, but its row draws nothing: a problem row.
TEST(RowCheck, EmptyLabels) {
    const std::string why = "The text is empty.";
    ExpectChecks({{S::Code39, "", V::Empty, why},
                  {S::Code93, "", V::Empty, why},
                  {S::Code128A, "", V::Empty, why},
                  {S::Code128B, "", V::Empty, why},
                  {S::Code128C, "", V::Empty, why},
                  {S::Ean13, "", V::Empty, why},
                  {S::I2of5, "", V::Empty, why}});
}

TEST(RowCheck, BarsThatReadDifferently) {
    ExpectChecks({
        {S::Code128C, "abcd", V::ReadsDifferently, "0000"},
        {S::Code128C, "12a4", V::ReadsDifferently, "1200"},
        {S::Code128C, "1a", V::ReadsDifferently, "01"},
        {S::Code128C, "123", V::ReadsDifferently, "1203"},
        {S::Ean13, "12345678901234", V::ReadsDifferently, "1234567890128"},
        {S::Ean13, "12345", V::ReadsDifferently, "1234500000003"},
        {S::Ean13, "5901234123450", V::ReadsDifferently, "5901234123457"},
        {S::Code39, "abc", V::ReadsDifferently, "ABC"},
        {S::Code128A, "\xC3", V::ReadsDifferently, "\x1F"}, // US
        {S::Code128B,
         "\xC6"
         "a",
         V::ReadsDifferently, "\xC6\x01"}, // shifted into A
    });
}

TEST(RowCheck, BarsThatAreNotOneSymbol) {
    ExpectChecks({
        {S::Code39, "A*B", V::NotOneSymbol,
         "Reading stops at element 20 of 50: a start/stop character inside the symbol."},
        {S::Code128A,
         "A\xCE"
         "B",
         V::NotOneSymbol, "Reading stops at element 22 of 70: a stop character inside the symbol."},
        {S::Code128B, "\xCB", V::NotOneSymbol,
         "Reading stops at element 11 of 46: a start character inside the symbol."},
    });
}

TEST(RowCheck, RefusedLabelsSayWhy) {
    ExpectChecks({
        {S::Code39, "AB#", V::Refused,
         "Character 3, \"#\", is not in Code 39 (0-9, A-Z, a-z, space, - . $ / + % *)."},
        {S::Code39, std::string(408, 'A'), V::Refused,
         "The text is too long for the element buffer: Code 39 holds at most 407 characters."},
        {S::Code93, "caf\xE9", V::Refused,
         "Character 4, byte 0xE9, is not in Code 93 (ASCII 1-127)."},
        {S::Code93, std::string(300, 'a'), V::Refused,
         "The text is too long for the element buffer: its symbol would take more than 4096 "
         "elements."},
        {S::Code128A, "Ab", V::Refused,
         "Character 2, \"b\", is not in Code 128 subset A (ASCII 0-95, code bytes 195-206)."},
        {S::Code128B,
         "x\xC9"
         "a",
         V::Refused, // CODE A switches to subset A
         "Character 3, \"a\", is not in Code 128 subset A (ASCII 0-95, code bytes 195-206)."},
        {S::Code128B, "\x7F", V::Refused,
         "Character 1, byte 0x7F, is not in Code 128 subset B (ASCII 32-126, code bytes "
         "195-206)."},
        {S::Code128C, "12-5", V::Refused,
         "Characters 3-4, \"-5\", read as -5, is not in Code 128 subset C (pairs 00-99, code "
         "bytes 200-202)."},
        {S::Code128B, std::string(370, 'A'), V::Refused,
         "The text is too long for the element buffer: its symbol would take more than 4096 "
         "elements."},
        {S::Ean13, "12345678901A", V::Refused,
         "Character 12, \"A\", is not in EAN-13 (digits 0-9)."},
        {S::I2of5, "12\"4", V::Refused,
         "Character 3, byte 0x22, is not in Interleaved 2 of 5 (digits 0-9)."},
        {S::I2of5, "123", V::Refused,
         "Interleaved 2 of 5 takes an even number of digits; the text has 3."},
        {S::I2of5, std::string(818, '1'), V::Refused,
         "The text is too long for the element buffer: Interleaved 2 of 5 holds at most 816 "
         "digits."},
        {S::Code39, std::string("A\0B", 3), V::Refused,
         "Character 2 is a NUL byte, which would end the text."},
    });
}

TEST(RowCheck, RowHoldsTheLastEncoding) {
    CRowChecker checker;
    EXPECT_EQ(checker.Check("12", S::I2of5).verdict, V::Matches);
    EXPECT_EQ(checker.Row(S::I2of5).length, 17);
    EXPECT_EQ(checker.Check("1", S::I2of5).verdict, V::Refused);
    EXPECT_EQ(checker.Row(S::I2of5).length, 0);
}

} // namespace
