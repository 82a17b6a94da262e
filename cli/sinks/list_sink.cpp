#include "cli/sinks/list_sink.h"

#include <chrono>
#include <cstdio>
#include <cstring>

#include "base/utf8.h"
#include "platform/file_time.h"

namespace cli {
std::string UtcText(uint64_t filetime, ListFormat format) {
  using namespace std::chrono;
  const sys_seconds time{seconds{platform::FiletimeToUnix(filetime).seconds}};
  const sys_days day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss<seconds> clock{time - day};
  char text[48];
  snprintf(text, sizeof text, format == ListFormat::kJson ? "%04d-%02u-%02uT%02d:%02d:%02dZ" : "%04d-%02u-%02u %02d:%02d:%02d",
           static_cast<int>(date.year()), static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
           static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
           static_cast<int>(clock.seconds().count()));
  return text;
}

std::string JsonString(const char* text) {
  std::string out = "\"";
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    const size_t length = base::Utf8SequenceLength(p, strlen(reinterpret_cast<const char*>(p)));
    if (length == 0) {
      out += "\\ufffd";
      ++p;
    } else if (*p == '"' || *p == '\\') {
      out += '\\';
      out += static_cast<char>(*p++);
    } else if (*p < 0x20) {
      char escaped[8];
      snprintf(escaped, sizeof escaped, "\\u%04x", *p++);
      out += escaped;
    } else {
      out.append(reinterpret_cast<const char*>(p), length);
      p += length;
    }
  }
  return out + "\"";
}

void ListSink::OnEntryRefused(const archive::FileRecord& record, decode::NameProblem problem) {
  TerminalSink::OnEntryRefused(record, problem);
  problem_ = problem;
}

void ListSink::Print(const archive::FileRecord& record) {
  EntryDone();
  EndProgressLine();
  const decode::NameProblem problem = problem_;
  problem_ = decode::NameProblem::kNone;
  if (format_ == ListFormat::kJson) {
    const char* left_out = problem == decode::NameProblem::kNone        ? ""
                           : problem == decode::NameProblem::kUnsafe    ? ",\"left_out\":\"unsafe name\""
                           : problem == decode::NameProblem::kTooLong   ? ",\"left_out\":\"name too long\""
                                                                        : ",\"left_out\":\"name not text\"";
    printf("{\"name\":%s,\"size\":%u,\"created\":\"%s\",\"accessed\":\"%s\",\"written\":\"%s\",\"attributes\":%u%s}\n",
           JsonString(InUtf8(record.output_name).c_str()).c_str(), record.file_size,
           UtcText(record.creation_time, format_).c_str(), UtcText(record.last_access_time, format_).c_str(),
           UtcText(record.last_write_time, format_).c_str(), record.attributes, left_out);
    return;
  }
  printf("%-40s %10s  created %s  accessed %s  written %s\n", Display(record.output_name).c_str(),
         std::to_string(record.file_size).c_str(), UtcText(record.creation_time, format_).c_str(),
         UtcText(record.last_access_time, format_).c_str(), UtcText(record.last_write_time, format_).c_str());
}

}  // namespace cli
