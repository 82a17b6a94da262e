// How often each way of choosing an archive's code page reads its names
// right, on a corpus of stored names (bench/names/make_name_corpus.py):
// the weighing rule of decode/name_code_page.h, the rule before it, and
// the detector libraries this build has. Archives hold one name (the hard
// case) or five names of one language and code page. Prints accuracy per
// language, per stored code page and per set (tune, held-out), the rule's
// cost per name, and with --misses N the first N names it misreads.
// Run by bench/name_reading.sh.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/lead_bytes.h"
#include "base/utf8.h"
#include "bench/names/detector_libraries.h"
#include "decode/name_code_page.h"
#include "platform/text_codes.h"

namespace {

struct Archive {
  std::string set, language, kind;  // kind: the stored code page as the table shows it
  uint32_t code_page;
  std::vector<std::string> stored, shown;
};

std::string HexBytes(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

std::string KindOf(const std::string& language, uint32_t code_page) {
  const bool japanese = language.rfind("japanese", 0) == 0;
  if (code_page == platform::kUtf8CodePage) return japanese ? "UTF-8 Japanese" : "UTF-8 Western";
  if (code_page == base::kCodePageShiftJis) return language == "japanese-half-width" ? "CP932 half-width" : "CP932";
  return "CP1252";
}

// Single-name archives, and five-name ones from the names of each
// language and code page in turn.
void ReadCorpus(std::istream& in, std::vector<Archive>* singles, std::vector<Archive>* fives) {
  std::map<std::string, Archive> filling;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Archive name;
    std::string code_page, hex, shown;
    std::getline(fields, name.set, '\t'), std::getline(fields, name.language, '\t');
    std::getline(fields, code_page, '\t'), std::getline(fields, hex, '\t'), std::getline(fields, shown);
    name.code_page = static_cast<uint32_t>(std::stoul(code_page));
    name.kind = KindOf(name.language, name.code_page);
    name.stored = {HexBytes(hex)};
    name.shown = {shown};
    Archive& five = filling[name.set + name.language + code_page];
    if (five.stored.empty()) five = Archive{name.set, name.language, name.kind, name.code_page, {}, {}};
    five.stored.push_back(name.stored[0]), five.shown.push_back(shown);
    if (five.stored.size() == 5) fives->push_back(five), five.stored.clear(), five.shown.clear();
    singles->push_back(std::move(name));
  }
}

// The rule before the weighing, kept to compare: Shift-JIS when every
// name converts from it and one holds a lead byte, else Windows-1252.
uint32_t ChooseByOldRule(const std::vector<std::string>& texts) {
  const base::LeadBytes lead = base::LeadBytes::OfCodePage(base::kCodePageShiftJis);
  bool converts = true, double_byte = false, beyond_ascii = false;
  std::string unused;
  for (const std::string& text : texts) {
    if (base::IsAscii(text)) continue;
    beyond_ascii = true;
    converts = converts && platform::ConvertText(base::kCodePageShiftJis, platform::kUtf8CodePage, text, &unused);
    for (unsigned char byte : text) double_byte = double_byte || lead.IsLead(byte);
  }
  if (!beyond_ascii) return 0;
  return converts && double_byte ? base::kCodePageShiftJis : base::kCodePageWestern;
}

uint32_t ChooseByWeighing(const std::vector<std::string>& texts) { return decode::ChooseNameCodePage(texts).code_page; }

struct Tally {
  std::vector<int> right;  // per chooser
  int archives = 0;
};

using Rows = std::map<std::string, Tally>;

void Count(Rows& rows, const std::string& row, const std::vector<bool>& right) {
  Tally& tally = rows[row];
  tally.right.resize(right.size());
  tally.archives++;
  for (size_t i = 0; i < right.size(); ++i) tally.right[i] += right[i];
}

}  // namespace

namespace {

struct Chooser {
  std::string name;
  uint32_t (*choose)(const std::vector<std::string>& texts);
};

// Rows in the order shown: languages, stored code pages, sets, all.
Rows Evaluate(const std::vector<Archive>& archives, const std::vector<Chooser>& choosers) {
  Rows rows;
  for (const Archive& archive : archives) {
    std::vector<bool> right;
    for (const Chooser& chooser : choosers) right.push_back(chooser.choose(archive.stored) == archive.code_page);
    Count(rows, "1" + archive.language + " (" + archive.set + ")", right);
    Count(rows, "2stored " + archive.kind, right);
    Count(rows, "3set " + archive.set, right);
    Count(rows, "4all", right);
  }
  return rows;
}

void PrintTable(const char* title, const Rows& rows, const std::vector<Chooser>& choosers) {
  printf("\n%s\n%-30s %7s", title, "", "names");
  for (const Chooser& chooser : choosers) printf(" %10s", chooser.name.c_str());
  printf("\n");
  for (const auto& [row, tally] : rows) {
    printf("%-30s %7d", row.c_str() + 1, tally.archives);
    for (int right : tally.right) printf(" %9.2f%%", 100.0 * right / tally.archives);
    printf("\n");
  }
  const Tally& all = rows.at("4all");
  printf("%-30s %7s", "wrong archives", "");
  for (int right : all.right) printf(" %10d", all.archives - right);
  printf("\n");
}

// How often the weighing says "close", and how many of its misreads it
// flags so.
void PrintCloseCalls(const char* title, const std::vector<Archive>& archives, int misses_to_show) {
  int close = 0, wrong = 0, wrong_and_close = 0;
  std::map<std::string, std::pair<int, int>> close_by_kind;
  for (const Archive& archive : archives) {
    const decode::NameReading reading = decode::ChooseNameCodePage(archive.stored);
    close += reading.close;
    close_by_kind[archive.kind].first += reading.close;
    close_by_kind[archive.kind].second++;
    const bool right = reading.code_page == archive.code_page;
    if (!right) wrong++, wrong_and_close += reading.close;
    if (right ? !(reading.close && getenv("SHOW_CLOSE")) : wrong > misses_to_show) continue;
    printf("  %s %-8s %-20s %-17s read %5u (next %5u%s):", right ? "close" : "miss ", archive.set.c_str(),
           archive.language.c_str(), archive.kind.c_str(), reading.code_page, reading.runner_up,
           reading.close ? ", close" : "");
    for (const std::string& shown : archive.shown) printf(" %s", shown.c_str());
    printf("\n");
  }
  printf("%s: %d of %zu archives called close; %d of the %d misread ones\n", title, close, archives.size(),
         wrong_and_close, wrong);
  for (const auto& [kind, counts] : close_by_kind)
    printf("  stored %-17s %5.2f%% called close\n", kind.c_str(), 100.0 * counts.first / counts.second);
}

// The weighing's cost, per stored name, over the whole corpus.
double NanosecondsPerName(const std::vector<Archive>& archives) {
  size_t names = 0;
  uint32_t sink = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int round = 0; round < 20; ++round) {
    for (const Archive& archive : archives) {
      sink += decode::ChooseNameCodePage(archive.stored).code_page;
      names += archive.stored.size();
    }
  }
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  if (sink == 1) printf(" ");  // keeps the calls from being left out
  return elapsed.count() / names;
}

}  // namespace

int main(int argc, char** argv) {
  int misses_to_show = 0;
  const char* corpus_path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--misses") == 0 && i + 1 < argc)
      misses_to_show = atoi(argv[++i]);
    else
      corpus_path = argv[i];
  }
  if (!corpus_path) {
    fprintf(stderr, "usage: name_reading_accuracy [--misses N] CORPUS.tsv\n");
    return 2;
  }
  std::ifstream corpus(corpus_path);
  std::vector<Archive> singles, fives;
  ReadCorpus(corpus, &singles, &fives);
  std::vector<Chooser> choosers = {{"old rule", ChooseByOldRule}, {"weighing", ChooseByWeighing}};
  for (const bench::Detector& detector : bench::DetectorLibraries())
    choosers.push_back({detector.name, detector.choose});
  PrintTable("One name per archive: share read right", Evaluate(singles, choosers), choosers);
  PrintTable("Five names per archive: share read right", Evaluate(fives, choosers), choosers);
  printf("\n");
  PrintCloseCalls("one name", singles, misses_to_show);
  PrintCloseCalls("five names", fives, misses_to_show);
  printf("\ncost of the weighing: %.0f ns a name in one-name archives, %.0f ns in five-name ones\n",
         NanosecondsPerName(singles), NanosecondsPerName(fives));
  return 0;
}
