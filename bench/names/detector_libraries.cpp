#include "bench/names/detector_libraries.h"

#include <cstring>

#if KELVARIN_BENCH_UCHARDET
#include <uchardet/uchardet.h>
#endif
#if KELVARIN_BENCH_ICU
#include <unicode/ucsdet.h>
#endif

namespace bench {
namespace {

// The texts as one input, a name a line, as a detector reads a file.
[[maybe_unused]] std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += text + "\n";
  return joined;
}

// Charset names as the libraries give them. The Western single-byte sets
// count as 1252, for which they stand in names of Western languages.
[[maybe_unused]] uint32_t CodePageOfCharset(const char* charset) {
  const std::string name = charset ? charset : "";
  if (name == "SHIFT_JIS" || name == "Shift_JIS" || name == "WINDOWS-31J") return 932;
  if (name == "UTF-8") return 65001;
  if (name == "WINDOWS-1252" || name == "windows-1252" || name == "ISO-8859-1" || name == "ISO-8859-15") return 1252;
  return 0;
}

#if KELVARIN_BENCH_UCHARDET
uint32_t ChooseByUchardet(const std::vector<std::string>& texts) {
  const std::string joined = Joined(texts);
  uchardet_t detector = uchardet_new();
  uchardet_handle_data(detector, joined.data(), joined.size());
  uchardet_data_end(detector);
  const uint32_t code_page = CodePageOfCharset(uchardet_get_charset(detector));
  uchardet_delete(detector);
  return code_page;
}
#endif

#if KELVARIN_BENCH_ICU
// ICU ranks every charset it knows: the best of the three candidates wins,
// so that a Latin text taken for, say, ISO-8859-2 still counts for 1252.
uint32_t ChooseByIcu(const std::vector<std::string>& texts) {
  const std::string joined = Joined(texts);
  UErrorCode status = U_ZERO_ERROR;
  UCharsetDetector* detector = ucsdet_open(&status);
  ucsdet_setText(detector, joined.data(), static_cast<int32_t>(joined.size()), &status);
  int32_t count = 0;
  const UCharsetMatch** matches = ucsdet_detectAll(detector, &count, &status);
  uint32_t code_page = 0;
  for (int32_t i = 0; U_SUCCESS(status) && i < count && code_page == 0; ++i)
    code_page = CodePageOfCharset(ucsdet_getName(matches[i], &status));
  ucsdet_close(detector);
  return code_page;
}
#endif

}  // namespace

std::vector<Detector> DetectorLibraries() {
  std::vector<Detector> detectors;
#if KELVARIN_BENCH_UCHARDET
  detectors.push_back({"uchardet", ChooseByUchardet});
#endif
#if KELVARIN_BENCH_ICU
  detectors.push_back({"ICU", ChooseByIcu});
#endif
  return detectors;
}

}  // namespace bench
