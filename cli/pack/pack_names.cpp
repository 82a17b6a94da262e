#include "cli/pack/pack_names.h"

#include "archive/file_record.h"
#include "base/lead_bytes.h"
#include "cli/pack/name_clashes.h"
#include "decode/name_rules.h"
#include "platform/text_codes.h"

namespace cli {
namespace {

bool IsUtf8(const std::string& text) {
  std::string same;
  return platform::ConvertText(platform::kUtf8CodePage, platform::kUtf8CodePage, text, &same);
}

bool Fits(uint32_t code_page, const std::string& name) {
  std::string unused;
  return Utf8ToStored(code_page, name, &unused);
}

// Why no code page of the auto rule holds every name: one that fits
// neither, or two that each fit only one.
PackInputProblem NoCommonCodePage(const std::vector<PackSource>& sources) {
  const PackSource* western_only = nullptr;
  const PackSource* japanese_only = nullptr;
  for (const PackSource& source : sources) {
    const bool western = Fits(base::kCodePageWestern, source.output_name);
    const bool japanese = Fits(base::kCodePageShiftJis, source.output_name);
    if (!western && !japanese) {
      return {source.path, "its name can be written neither in CP1252 nor in CP932; rename it, or name a code page "
                           "that holds it with --encoding"};
    }
    if (!western && !japanese_only) japanese_only = &source;
    if (!japanese && !western_only) western_only = &source;
  }
  return {japanese_only->path, "its name fits only CP932, and that of " + Printable(western_only->path) +
                                   " only CP1252; the names of an archive share one code page (--encoding)"};
}

// The code page asked for, or the auto rule's choice; false with the
// problem when a name is no UTF-8 or no code page tried holds them all.
bool ChooseCodePage(const std::vector<PackSource>& sources, const Encoding& encoding, uint32_t* code_page,
                    PackInputProblem* problem) {
  std::vector<std::string> names;
  for (const PackSource& source : sources) {
    if (!IsUtf8(source.output_name)) {
      *problem = {source.path, "its name is not UTF-8 text, which kelvarin takes file names to be"};
      return false;
    }
    names.push_back(source.output_name);
  }
  size_t misfit = 0;
  *code_page = encoding.automatic() ? ChooseWritingCodePage(names, &misfit) : encoding.code_page;
  if (*code_page == 0) *problem = NoCommonCodePage(sources);
  return *code_page != 0;
}

const char* WindowsFaultText(decode::NameFault fault) {
  switch (fault) {
    case decode::NameFault::kNone: return "";
    case decode::NameFault::kSeparator: return "its name holds a folder separator";
    case decode::NameFault::kColon: return "its name holds a colon, which Windows reads as a drive or a stream";
    case decode::NameFault::kControlCharacter: return "its name holds a control character";
    case decode::NameFault::kReservedCharacter:
      return "its name holds one of < > \" | ? *, which Windows does not allow in names";
    case decode::NameFault::kDeviceName:
      return "its name, or a folder's in it, is a device name on Windows (such as CON, NUL, COM1 or CONIN$, "
             "also with an extension)";
    case decode::NameFault::kTrailingDotOrSpace:
      return "its name, or a folder's in it, ends in a dot or a space, which Windows drops";
    case decode::NameFault::kNotRelative:
    case decode::NameFault::kEmptyComponent:
    case decode::NameFault::kDotComponent: break;
  }
  return "its relative name would not stay below the folder it is extracted to";
}

// The name in the code page, within the record's room and as Windows can
// make it; false with the problem.
bool StoreName(const PackSource& source, uint32_t code_page, bool relative, std::string* stored,
               PackInputProblem* problem) {
  if (!Utf8ToStored(code_page, source.output_name, stored)) {
    *problem = {source.path, "its name cannot be written in " + CodePageName(code_page) +
                                 ", the archive's code page (--encoding)"};
    return false;
  }
  if (stored->size() >= static_cast<size_t>(archive::kOutputNameCapacity)) {
    *problem = {source.path, "the stored name would exceed " + std::to_string(archive::kOutputNameCapacity - 1) +
                                 " bytes"};
    return false;
  }
  const base::LeadBytes lead = base::LeadBytes::OfCodePage(code_page);
  const decode::NameFault fault = relative
                                      ? decode::RelativeNameFault(stored->c_str(), lead, decode::PathStyle::kWindows)
                                      : decode::PlainNameFault(stored->c_str(), lead, decode::PathStyle::kWindows);
  if (fault != decode::NameFault::kNone) *problem = {source.path, WindowsFaultText(fault)};
  return fault == decode::NameFault::kNone;
}

PackInputProblem ClashProblem(const std::vector<PackSource>& sources, const NameClash& clash) {
  const PackSource& first = sources[clash.first];
  const PackSource& second = sources[clash.second];
  const std::string first_name = Printable(first.output_name), second_name = Printable(second.output_name);
  switch (clash.kind) {
    case ClashKind::kSameName:
      return {second.path, "would be stored as " + second_name + ", as " + Printable(first.path) +
                               " is: two entries of one name"};
    case ClashKind::kSameButCase:
      return {second.path, "would be stored as " + second_name + ", and " + Printable(first.path) + " as " +
                               first_name + ": one name to Windows, which ignores case"};
    case ClashKind::kFileWhereFolder:
    case ClashKind::kNone: break;
  }
  return {second.path, "would be stored as " + second_name + ", below a folder where " + Printable(first.path) +
                           " is stored as the file " + first_name};
}

}  // namespace

bool MakeStoredNames(const std::vector<PackSource>& sources, const Encoding& encoding, bool relative,
                     StoredNames* stored, PackInputProblem* problem) {
  if (!ChooseCodePage(sources, encoding, &stored->code_page, problem)) return false;
  stored->names.assign(sources.size(), std::string());
  for (size_t i = 0; i < sources.size(); ++i) {
    if (!StoreName(sources[i], stored->code_page, relative, &stored->names[i], problem)) return false;
  }
  std::vector<std::string> names;
  for (const PackSource& source : sources) names.push_back(source.output_name);
  const NameClash clash = FindNameClash(names);
  if (clash.kind != ClashKind::kNone) *problem = ClashProblem(sources, clash);
  return clash.kind == ClashKind::kNone;
}

}  // namespace cli
