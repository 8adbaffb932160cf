#include <gtest/gtest.h>

#include <string>

#include "core/typed_numbers.h"
#include "quillmar/texts.h"

namespace {

TEST(DecimalText, LeadingBlanksSignAndDigitsUpToTheFirstOtherCharacter) {
  EXPECT_EQ(parseDecimalText("123"), 123);
  EXPECT_EQ(parseDecimalText(" 123"), 123);
  EXPECT_EQ(parseDecimalText(" \t\n-7"), -7);
  EXPECT_EQ(parseDecimalText("+12abc"), 12);
  EXPECT_EQ(parseDecimalText("12 34"), 12);
  EXPECT_EQ(parseDecimalText("0012"), 12);
  EXPECT_EQ(parseDecimalText("- 5"), 0);  // a blank after the sign ends the number
  EXPECT_EQ(parseDecimalText("+-5"), 0);
}

TEST(DecimalText, NoDigitsReadsZero) {
  EXPECT_EQ(parseDecimalText(""), 0);
  EXPECT_EQ(parseDecimalText("   "), 0);
  EXPECT_EQ(parseDecimalText("-"), 0);
  EXPECT_EQ(parseDecimalText("abc"), 0);
  EXPECT_EQ(parseDecimalText(texts::kTextNature0), 0);
  EXPECT_EQ(parseDecimalText(nullptr), 0);
}

TEST(DecimalText, SaturatesAtTheSigned32BitLimits) {
  EXPECT_EQ(parseDecimalText("2147483647"), 2147483647);
  EXPECT_EQ(parseDecimalText("2147483648"), 2147483647);
  EXPECT_EQ(parseDecimalText("4294967295"), 2147483647);
  EXPECT_EQ(parseDecimalText("99999999999999999999999999"), 2147483647);
  EXPECT_EQ(parseDecimalText("-2147483647"), -2147483647);
  EXPECT_EQ(parseDecimalText("-2147483648"), INT32_MIN);
  EXPECT_EQ(parseDecimalText("-2147483649"), INT32_MIN);
  EXPECT_EQ(parseDecimalText("-99999999999999999999999999"), INT32_MIN);
}

TEST(HexText, DigitsOfBothCasesModulo2To32) {
  EXPECT_EQ(parseHexText(""), 0u);
  EXPECT_EQ(parseHexText("2684ad1f"), 0x2684AD1Fu);
  EXPECT_EQ(parseHexText("2684AD1F"), 0x2684AD1Fu);
  EXPECT_EQ(parseHexText("FFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(parseHexText("123456789A"), 0x3456789Au);  // only the last eight digits count
  EXPECT_EQ(parseHexText("0000000000ab"), 0xABu);
}

TEST(HexText, CharactersThatAreNotHexDigitsAreSkipped) {
  EXPECT_EQ(parseHexText("12 34"), 0x1234u);
  EXPECT_EQ(parseHexText("12g34"), 0x1234u);
  EXPECT_EQ(parseHexText("-1"), 0x1u);
  EXPECT_EQ(parseHexText("xyz"), 0u);
  EXPECT_EQ(parseHexText(" ff "), 0xFFu);
  // The second byte of the CP932 "テ" is 'e' and that of "ス" is 'X'; a
  // double-byte character is skipped whole, so neither counts as a digit.
  std::string withKana = std::string("1") + texts::kTextMenuStep + "2";
  EXPECT_EQ(parseHexText(withKana.c_str()), 0x12u);
  // A lone lead byte at the very end is dropped without reading past the NUL.
  std::string cut = std::string("a") + std::string(texts::kTextMenuStep).substr(0, 1);
  EXPECT_EQ(parseHexText(cut.c_str()), 0xAu);
}

TEST(SeedText, TheTextsOfTheCurrentAndInitialSeedFields) {
  EXPECT_EQ(parseSeedText("0x2684ad1f"), 0x2684AD1Fu);
  EXPECT_EQ(parseSeedText("0x2684AD1F"), 0x2684AD1Fu);
  EXPECT_EQ(parseSeedText("0X2684AD1F"), 0u);  // capital X: decimal rule, reads the 0
  EXPECT_EQ(parseSeedText("0x"), 0u);
  EXPECT_EQ(parseSeedText("0x123456789A"), 0x3456789Au);
  EXPECT_EQ(parseSeedText("4294967295"), 0x7FFFFFFFu);
  EXPECT_EQ(parseSeedText("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(parseSeedText(" 123"), 123u);
  EXPECT_EQ(parseSeedText("0x0"), 0u);
  EXPECT_EQ(parseSeedText("0X10"), 0u);
  EXPECT_EQ(parseSeedText("12345"), 12345u);
  EXPECT_EQ(parseSeedText("-2147483648"), 0x80000000u);
  EXPECT_EQ(parseSeedText(" 0x10"), 0u);  // "0x" only counts as the first two bytes
  EXPECT_EQ(parseSeedText("00x10"), 0u);
  EXPECT_EQ(parseSeedText(""), 0u);
}

TEST(SeedText, TheFormattedCandidateSeedReadsBackExactly) {
  for (uint32_t seed : {0u, 1u, 0x2684AD1Fu, 0x80000000u, 0xFFFFFFFFu, 0x0000ABCDu}) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", seed);
    EXPECT_EQ(parseSeedText(text), seed) << text;
  }
}

}  // namespace
