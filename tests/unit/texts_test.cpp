// The Japanese texts are checked against a conversion, by the C library,
// of the words as they read; the English ones against their exact bytes.
#include <gtest/gtest.h>
#include <string>

#include "test_support.h"
#include "ui/texts.h"

namespace {

using testing_support::ToShiftJis;
using ui::Language;
using ui::TextId;

struct Expected {
  TextId id;
  const char* english;
  const char* japanese_utf8;
};

const Expected kExpected[] = {
    {TextId::kNotArchive, "This is not Kelvarin file.", "暗号ファイルではありません．"},
    {TextId::kTakeOutFailed, "Could not take out data", "データ抽出に失敗しました"},
    {TextId::kTamperWarning, "Anyone cooked this file.\nCheck your naughty brother...\n         or virus.",
     "このファイルは改竄されています．\n\nウィルスに感染しているかもしれません．\n提供者とシステム管理者に相談することを勧めます．"},
    {TextId::kWarningTitle, "Warning!", "警告！"},
    {TextId::kNewerVersion, "This file made by newer encoder.\nGet newer decode program please.",
     "暗号のバージョンが新しくなっています．\n最新の解除プログラムと入れ替えてください．"},
    {TextId::kCheckOpenFailed, "Could not open file.", "ファイルを開けません．"},
    {TextId::kCheckHeaderShort, "Could not read file.", "ファイルが読めません．"},
    {TextId::kCheckBlockShort, "Could not read file.", "ファイルを読み込めません．"},
    {TextId::kCheckCooked, "Anyone cooked this file.", "このファイルはオリジナルと異なっています．"},
    {TextId::kCheckNoProblem, "No problem at fle.", "ファイルは正常です．"},
    {TextId::kCheckingProgress, "Checking... %3d %%", "Checking... %3d %%"},
    {TextId::kDecodeOpenFailed, "Could not open file", "ファイルを開けません"},
    {TextId::kDecodeReadFailed, "Could not read file", "ファイルを読み込めません"},
    {TextId::kDecodeCooked, "Anyone cooked this file.", "このファイルはオリジナルと異なっています"},
    {TextId::kWrongPassword, "Wrong password", "パスワードが誤っています"},
    {TextId::kOpenForWriteFailed, "Could not open for write", "書込み準備ができません"},
    {TextId::kWriteFailed, "Could not write", "書き込めません"},
    {TextId::kDecodingProgress, "Decoding... %3d %%", "Decoding... %3d %%"},
    {TextId::kFixedTitle, "Kelvarin", "Kelvarin"},
    {TextId::kPasswordPrompt, "&Input password and push \"OK\".", "(&P)パスワードを入力して，ＯＫボタンを押してください．"},
    {TextId::kSavePassword, "Save &Password", "(&S)パスワードの保存"},
    {TextId::kSuicide, "&Suicide", "(&D)自動消滅"},
    {TextId::kButtonCheck, "Check", "Check"},
    {TextId::kButtonOk, "OK", "OK"},
    {TextId::kButtonCancel, "Cancel", "Cancel"},
    {TextId::kPasswordDialogTitle, "Input Password", "Input Password"},
    {TextId::kInfoDialogTitle, "Serial Information", "Serial Information"},
    {TextId::kInfoContinue, "&Continue", "(&C)表示終了"},
    {TextId::kInfoSetName, "&Set name", "(&S)名称登録"},
    {TextId::kInfoEnd, "End", "終了"},
    {TextId::kInfoEncodedBy, "Encoded by\r\n", "この暗号ファイルは\r\n"},
    {TextId::kInfoThisComputer, "this computer", "このコンピューター"},
    {TextId::kInfoAfterName, ".\r\n\r\n", "\r\nによって\r\n\r\n"},
    {TextId::kInfoCreatedAt, "\r\nCreated at above date.\r\n\r\n", "\r\nに作成されました．\r\n\r\n"},
    {TextId::kInfoNthTry, "%dth try to decode.", "%d 回目の暗号解除です."},
    {TextId::kInfoFirstTry, "1st try to decode.", "このIDの暗号解除は\r\n初めてです．"},
    {TextId::kInfoVersionTitle, "Kelvarin Decoder Ver%d.%02d", "Kelvarin Decoder Ver%d.%02d"},
    {TextId::kInfoUnknownDate, "(unknown date)", "（日時不明）"},
    {TextId::kOutOfMemory, "Not enough memory to decode.", "メモリが不足しているため暗号を解除できません．"},
};

TEST(Texts, EveryTextHasItsExactEnglishAndShiftJisForm) {
  ASSERT_EQ(sizeof kExpected / sizeof kExpected[0], static_cast<size_t>(TextId::kCount));
  for (const Expected& e : kExpected) {
    EXPECT_STREQ(ui::Text(e.id, Language::kEnglish), e.english);
    EXPECT_EQ(std::string(ui::Text(e.id, Language::kJapanese)), ToShiftJis(e.japanese_utf8)) << e.english;
  }
}

TEST(Texts, CodePage932AloneSelectsJapanese) {
  EXPECT_EQ(ui::LanguageForOemCodePage(932), Language::kJapanese);
  EXPECT_EQ(ui::LanguageForOemCodePage(437), Language::kEnglish);
  EXPECT_EQ(ui::LanguageForOemCodePage(936), Language::kEnglish);
}

}  // namespace
