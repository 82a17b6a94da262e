// A decode that runs for seconds: the password dialog keeps answering
// throughout, and the input a user gives it meanwhile (Enter, OK, a click,
// Esc, Alt+F4, Close, Cancel) is set aside, acted on neither during the
// run nor once it has ended. The run ends at a damaged second entry, so
// that the dialog comes back to input, where queued input would act.
#include <cstdio>
#include <cstdlib>

#include "answer_watch.h"
#include "decoder_session.h"
#include "long_archive.h"
#include "win32/resource_ids.h"

namespace {

using e2e::Expected;
using ui::TextId;

constexpr const char* kCaption = e2e::DecoderSession::kCaption;
// One chunk a block, as many bytes as the encoder's usual block carries.
constexpr size_t kChunkSize = 16383;
constexpr uint32_t kDefaultMib = 400;
constexpr DWORD kRunDeadline = 180000;

// Long enough that the run takes seconds; KELVARIN_E2E_LONG_MIB measures
// other sizes.
uint32_t LongEntryMib() {
  const char* mib = getenv("KELVARIN_E2E_LONG_MIB");
  return mib && atoi(mib) > 0 ? static_cast<uint32_t>(atoi(mib)) : kDefaultMib;
}

// The percentage the title shows while the run writes, or -1.
int DecodingPercent(HWND dialog) {
  int percent = -1;
  const std::string title = e2e::WindowText(dialog);
  return sscanf(title.c_str(), ui::Text(TextId::kDecodingProgress, ui::Language::kEnglish), &percent) == 1 ? percent
                                                                                                           : -1;
}

// What a user may give the dialog while it decodes, posted as the system
// queues input: Enter in the password box, a click on OK, a click on the
// Suicide box, Esc, Alt+F4, Close from the system menu (the task bar sends
// the same), Cancel.
void GiveInput(HWND dialog) {
  const HWND edit = GetDlgItem(dialog, IDC_PASSWORD_EDIT);
  const HWND suicide = GetDlgItem(dialog, IDC_SUICIDE);
  PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
  e2e::ClickButton(dialog, IDOK);
  PostMessageA(suicide, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(suicide, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(dialog, WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  e2e::ClickButton(dialog, IDCANCEL);
}

// Posted messages are served in order: once one posted now has been
// served, so has all input queued before it.
bool QueueServed(HWND dialog) {
  const HWND edit = GetDlgItem(dialog, IDC_PASSWORD_EDIT);
  PostMessageA(edit, EM_SETSEL, 1, 3);
  return e2e::PollUntil([&] { return e2e::Ask(edit, EM_GETSEL, 0, 0) == MAKELONG(1, 3); }, 20000);
}

class LongDecode : public e2e::DecoderSession {
 protected:
  void SetUp() override {
    DecoderSession::SetUp();
    long_.entry = test_support::MakeEntry("long.txt", test_support::TextLikeBytes(kChunkSize), kCaption);
    long_.repeats = static_cast<uint32_t>((uint64_t{LongEntryMib()} << 20) / kChunkSize);
    e2e::ArchiveFile archive(archive_, e2e::DecoderBytes());
    ASSERT_TRUE(e2e::AppendRepeatedEntry(archive, long_, kPassword));
    const encoder::Entry damaged =
        test_support::MakeEntry("damaged.txt", test_support::TextLikeBytes(1000, 2), kCaption);
    ASSERT_TRUE(e2e::AppendCookedEntry(archive, damaged, kPassword));
    ASSERT_TRUE(archive.Close()) << archive_;
  }

  // Another dialog of the program than the password dialog and its
  // message boxes: the Save-As of a second run.
  HWND OtherDialog() const {
    const e2e::WindowTest of_program = e2e::DialogOf(e2e::ProcessOf(dialog_));
    const e2e::WindowTest message_box = e2e::MessageBoxOf(e2e::ProcessOf(dialog_));
    return e2e::FindWindowWhere([&](HWND w) { return w != dialog_ && of_program(w) && !message_box(w); });
  }

  e2e::RepeatedEntry long_;
};

TEST_F(LongDecode, DialogAnswersThroughoutAndInputGivenMeanwhileIsSetAside) {
  ASSERT_NE(OpenDialog(), nullptr);
  const bool suicide_checked = e2e::IsChecked(dialog_, IDC_SUICIDE);
  TypeAndOk();
  const std::string output = folder_.File("long.txt");
  ASSERT_TRUE(SaveAs(output));
  ASSERT_TRUE(e2e::PollUntil([&] { return DecodingPercent(dialog_) >= 0; }, 20000)) << "the title shows progress";

  e2e::AnswerWatch watch(dialog_);
  const DWORD start = GetTickCount();
  int given_at = -1, after_giving = -1;
  const bool ended = e2e::PollUntil(
      [&] {
        watch.Sample();
        const int percent = DecodingPercent(dialog_);
        if (given_at < 0 && percent >= 1 && percent <= 50) {
          GiveInput(dialog_);
          given_at = percent;
          after_giving = DecodingPercent(dialog_);
        }
        return e2e::FindWindowWhere(e2e::MessageBoxOf(e2e::ProcessOf(dialog_))) || OtherDialog();
      },
      kRunDeadline, 100);
  watch.Sample();
  printf("[ measured ] %u MiB: the run took %lu ms; %s\n", LongEntryMib(), GetTickCount() - start,
         watch.Summary().c_str());
  ASSERT_TRUE(ended) << "the run ends within " << kRunDeadline << " ms";
  ASSERT_EQ(OtherDialog(), nullptr) << "input given during the run started a second one";
  EXPECT_EQ(watch.unanswered(), 0) << watch.Summary();
  EXPECT_GE(watch.samples(), 5) << "the run was too short to tell";
  EXPECT_GE(given_at, 1) << "no input was given while the title showed the percentage";
  EXPECT_TRUE(after_giving >= 0 && after_giving < 100) << "the run still went on when the input was queued, but "
                                                        << "the title then read " << e2e::WindowText(dialog_);

  e2e::MessageBoxContent box = NextMessage();
  EXPECT_EQ(box.text, Expected(TextId::kDecodeCooked));
  Dismiss(box);
  ExpectBackAtInput();
  ASSERT_TRUE(QueueServed(dialog_));
  EXPECT_EQ(OtherDialog(), nullptr) << "input given during the run started another once it had ended";
  EXPECT_FALSE(process_->WaitForExit(0)) << "input given during the run closed the program once it had ended";
  EXPECT_EQ(e2e::IsChecked(dialog_, IDC_SUICIDE), suicide_checked);
  EXPECT_TRUE(e2e::IsEnabled(dialog_, IDC_SUICIDE));

  e2e::ExpectTimesAndAttributesAsRecorded(output, long_.entry.record);
  EXPECT_TRUE(e2e::HoldsRepeatedChunk(output, long_));
  e2e::ClickButton(dialog_, IDCANCEL);
  ExpectExitZero();
}

}  // namespace
