// The choice of an archive's code page from its stored names, on names
// from the benchmark's corpus (bench/name_reading.sh), grouped by the
// misreading each group would show if the rule slipped; and the kinds
// each reading sorts characters into, to the ends of their ranges.
#include "decode/name_code_page.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <wctype.h>

#include <cctype>
#include <string>
#include <vector>

#include "decode/name_glyphs.h"
#include "platform/text_codes.h"

namespace {

constexpr uint32_t kCp932 = 932;
constexpr uint32_t kCp1252 = 1252;
constexpr uint32_t kUtf8 = platform::kUtf8CodePage;

// A name as an archive of that code page stores it.
std::string Stored(uint32_t code_page, const std::string& utf8) {
  std::string stored;
  if (!platform::ConvertText(kUtf8, code_page, utf8, &stored)) ADD_FAILURE() << utf8 << " has no form in " << code_page;
  return stored;
}

decode::NameReading ReadAlone(uint32_t code_page, const std::string& utf8) {
  return decode::ChooseNameCodePage({Stored(code_page, utf8)});
}

TEST(NameCodePage, WesternNamesThatAreValidShiftJisReadAsWestern) {
  // Each accented letter here is a CP932 lead byte with a valid second byte
  // behind it: the CP932 reading holds, and must lose.
  for (const char* name : {"façade.txt", "Größe.txt", "Crème brûlée.txt", "Señor García.xls",
                           "europæiser Margaretes.log", "Coördinerende botersmaak nagelschaar.xlsx",
                           "Kurort-Färbereien.doc", "\\Fotos\\København.jpg", "Dauertests-ängstlichsten.docx"}) {
    const decode::NameReading reading = ReadAlone(kCp1252, name);
    EXPECT_EQ(reading.code_page, kCp1252) << name;
    EXPECT_EQ(reading.runner_up, kCp932) << name << ": CP932 reads it too";
  }
}

TEST(NameCodePage, UserDefinedCharactersCountAgainstShiftJis) {
  // ö ð ó before a letter are CP932 user-defined (private use) characters.
  for (const char* name : {"Förödmjukar.csv", "forboðið_12.txt", "\\Documents\\Neamhómósaigh.pdf"})
    EXPECT_EQ(ReadAlone(kCp1252, name).code_page, kCp1252) << name;
}

TEST(NameCodePage, AccentedCapitalsAreNoHalfWidthKatakana) {
  // Read as CP932 they are half-width katakana, in runs when a symbol
  // follows: ÁÀ → ﾁﾀ, Ì° → ﾌｰ.
  for (const char* name : {"ÉÉNZIJDIG.MP3", "DISFARÇÁ.PNG", "École.txt", "Ärger 2019.doc", "DISTRAIRÁ° 7.LOG",
                           "SCOLPÌ° 63.TXT", "MOSTRERÒ® 68.WAV"})
    EXPECT_EQ(ReadAlone(kCp1252, name).code_page, kCp1252) << name;
}

TEST(NameCodePage, TypographicSymbolsStayWestern) {
  // ’ “ … ™ are CP932 lead bytes; after an accented letter they make kanji.
  // A lone kanji among ASCII says less than kanji in a run.
  for (const char* name :
       {"Don’t Stop.mp3", "1990’s Hits.mp3", "Großspekulanten’s 26.mp3", "fanatisât’s gargoteront.txt",
        "“Instaurerà” 25.pdf", "Cairá™ 14.docx", "Embalsamará… 5.txt", "PORTEMONNÆ™ 42.PNG"})
    EXPECT_EQ(ReadAlone(kCp1252, name).code_page, kCp1252) << name;
}

TEST(NameCodePage, HalfWidthKatakanaReadsAsShiftJis) {
  for (const char* name : {"ｶﾀｶﾅ.txt", "ﾃｽﾄ ﾃﾞｰﾀ.dat", "ﾏｶｼﾞｮｳﾙﾘ.XLSX", "\\ﾁｭｳﾛｳ\\ﾖｺﾌﾞｴ.xls", "ﾜﾆｲｼ.csv", "ﾃｸﾃｸ.zip",
                           "ﾊｴﾇｷ.xlsx"})  // the last two are well-formed UTF-8 as well
    EXPECT_EQ(ReadAlone(kCp932, name).code_page, kCp932) << name;
}

TEST(NameCodePage, JapaneseNamesReadAsShiftJis) {
  // 表 and ソ end in 0x5C, the backslash's byte.
  for (const char* name :
       {"主従（うまごやし）.html", "落雷イボタ.png", "【煩もん】贋.pdf", "\\バックアップ\\千里丘上.html", "公取.docx",
        "ABC滑車.html", "Ver2異種.ini", "表ソフト①.xls", "㈱見積書～2020.xlsx", "ＡＢＣ.txt", "ｘｙｚ.csv"})
    EXPECT_EQ(ReadAlone(kCp932, name).code_page, kCp932) << name;
}

TEST(NameCodePage, UndefinedBytesRuleTheirCodePageOut) {
  // データ holds 0x81, which CP1252 leaves undefined.
  const decode::NameReading reading = ReadAlone(kCp932, "テスト データ.dat");
  EXPECT_EQ(reading.code_page, kCp932);
  EXPECT_EQ(reading.runner_up, 0u);
  // 0x85 0x40 lies in a row CP932 leaves empty; a lead byte at the end
  // has no second byte.
  EXPECT_NE(decode::ChooseNameCodePage({"\x85\x40.txt"}).runner_up, kCp932);
  EXPECT_NE(decode::ChooseNameCodePage({"\xe9\x7f.txt"}).runner_up, kCp932) << "0x7F is no second byte";
  EXPECT_EQ(decode::ChooseNameCodePage({"abc\xe9"}).code_page, kCp1252);
}

TEST(NameCodePage, Utf8NamesReadAsUtf8) {
  for (const char* name : {"日本.txt", "テスト データ.dat", "\\音楽\\人司.html", "No.旗幟.log", "café.txt", "Größe.txt",
                           "lektorens-Renée.png", "PEROCCHÉ.XLSX", "«Éclaircit» 87.log", "12 dm³.csv", "v'è_20.txt"})
    EXPECT_EQ(ReadAlone(kUtf8, name).code_page, kUtf8) << name;
}

TEST(NameCodePage, OneNameDecidesForAMixedArchive) {
  // Alone, ｸ.ppt could as well be "¸.ppt"; the other names settle it.
  EXPECT_EQ(decode::ChooseNameCodePage({"readme.txt", Stored(kCp932, "ｸ.ppt"), Stored(kCp932, "ﾃｽﾄ.txt")}).code_page,
            kCp932);
  EXPECT_EQ(decode::ChooseNameCodePage({"setup.exe", "a.txt", Stored(kCp1252, "façade.txt")}).code_page, kCp1252);
  // One name that only CP932 reads outweighs several that CP1252 would
  // read better alone.
  const std::vector<std::string> texts = {Stored(kCp932, "公取.docx"), Stored(kCp932, "データ.txt"), "Caption: Setup"};
  EXPECT_EQ(decode::ChooseNameCodePage(texts).code_page, kCp932);
}

TEST(NameCodePage, AsciiNamesNeedNoCodePage) {
  const decode::NameReading reading = decode::ChooseNameCodePage({"readme.txt", "\\docs\\a b.txt", "Setup"});
  EXPECT_EQ(reading.code_page, 0u);
  EXPECT_EQ(reading.runner_up, 0u);
  EXPECT_FALSE(reading.close);
  EXPECT_EQ(decode::ChooseNameCodePage({}).code_page, 0u);
}

TEST(NameCodePage, AmbiguousNameIsCalledClose) {
  // One byte, 0xB8: ｸ in CP932, ¸ in CP1252.
  const decode::NameReading reading = decode::ChooseNameCodePage({"\xb8.ppt"});
  EXPECT_TRUE(reading.close);
  EXPECT_EQ(reading.code_page + reading.runner_up, kCp932 + kCp1252);
  EXPECT_FALSE(ReadAlone(kCp1252, "Crème brûlée.txt").close);
  EXPECT_FALSE(ReadAlone(kCp932, "ｶﾀｶﾅ.txt").close);
  // aÉ against aﾉ: exactly the margin apart, which is not close.
  const decode::NameReading edge = decode::ChooseNameCodePage({"a\xc9.txt"});
  EXPECT_EQ(edge.code_page, kCp1252);
  EXPECT_EQ(edge.runner_up, kCp932);
  EXPECT_FALSE(edge.close);
}

TEST(NameCodePage, TextNoCodePageReadsLeavesTheBestOfTheRest) {
  // The second name holds 0x81 before a dot: no CP1252, no CP932, no UTF-8.
  const decode::NameReading reading = decode::ChooseNameCodePage({Stored(kCp1252, "façade.txt"), "x\x81.txt"});
  EXPECT_EQ(reading.code_page, kCp1252);
  EXPECT_EQ(reading.runner_up, 0u);
  EXPECT_FALSE(reading.close);
}

// The kinds each reading sorts characters into. The sets they should
// hold come from the C library and the Unicode blocks, not from the
// reader's own tables.
std::vector<decode::Glyph> Glyphs(uint32_t code_page, const std::string& text) {
  decode::GlyphReader reader(code_page, text);
  std::vector<decode::Glyph> glyphs;
  for (decode::Glyph glyph; (glyph = reader.Next()) != decode::Glyph::kEnd;) glyphs.push_back(glyph);
  return glyphs;
}

std::string Utf8Of(uint32_t code) {
  std::string text;
  if (code < 0x800) return text + static_cast<char>(0xC0 | code >> 6) + static_cast<char>(0x80 | (code & 0x3F));
  return text + static_cast<char>(0xE0 | code >> 12) + static_cast<char>(0x80 | (code >> 6 & 0x3F)) +
         static_cast<char>(0x80 | (code & 0x3F));
}

TEST(NameGlyphs, LettersAndDigitsAreTakenToTheEndsOfTheirRanges) {
  using decode::Glyph;
  for (int byte = 1; byte < 0x80; ++byte) {  // alike in every reading
    const Glyph expected = isalpha(byte) ? Glyph::kAsciiLetter : isdigit(byte) ? Glyph::kAsciiDigit : Glyph::kAsciiOther;
    EXPECT_EQ(Glyphs(kCp1252, std::string(1, static_cast<char>(byte))), std::vector<Glyph>{expected}) << byte;
  }
  // ０-９, Ａ-Ｚ and ａ-ｚ, in CP932 as Windows writes them.
  for (const auto& [first, last] : {std::pair{0xFF10u, 0xFF19u}, {0xFF21u, 0xFF3Au}, {0xFF41u, 0xFF5Au}}) {
    for (uint32_t code = first; code <= last; ++code) {
      EXPECT_EQ(Glyphs(kCp932, Stored(kCp932, Utf8Of(code))), std::vector<Glyph>{Glyph::kFullWidthAlnum}) << code;
    }
  }
  // Latin-1 and Latin Extended-A, as UTF-8 and as CP1252: letters, but × and ÷.
  const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  ASSERT_NE(utf8, nullptr);
  for (uint32_t code = 0xC0; code <= 0x17F; ++code) {
    const bool letter = iswalpha_l(static_cast<wint_t>(code), utf8);
    EXPECT_EQ(Glyphs(kUtf8, Utf8Of(code)) == std::vector<Glyph>{Glyph::kUtf8Latin}, letter) << code;
    if (code <= 0xFF) {
      EXPECT_EQ(Glyphs(kCp1252, Stored(kCp1252, Utf8Of(code))) == std::vector<Glyph>{Glyph::kLatinLetter}, letter)
          << code;
    }
  }
  freelocale(utf8);
}

}  // namespace
