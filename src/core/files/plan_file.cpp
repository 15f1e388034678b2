// SPDX-License-Identifier: MIT
#include "core/files/plan_file.h"

#include "core/platform/file_io.h"
#include "core/platform/code_page.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {
constexpr char kPathDelimiter = '/';
constexpr std::string_view kLineBreak = "\r\n";
}  // namespace

TPlanFileContent ParsePlan(std::string_view text) {
  TPlanFileContent content;
  std::vector<std::string> lines = SplitLines(text);
  if (lines.empty()) return content;
  if (lines.front() != kPlanMarker) {
    content.Status = TPlanFileContent::psNotAPlan;
    return content;
  }
  content.Status = TPlanFileContent::psOk;
  content.Entries.assign(std::make_move_iterator(lines.begin() + 1),
                         std::make_move_iterator(lines.end()));
  return content;
}

TPlanFileContent ReadPlanFile(const std::filesystem::path& fileName) {
  return ParsePlan(ReadWholeFile(fileName));
}

std::string FormatPlan(const std::vector<std::string>& entries) {
  std::string text(kPlanMarker);
  text += kLineBreak;
  for (const std::string& entry : entries) {
    text += entry;
    text += kLineBreak;
  }
  return text;
}

void WritePlanFile(const std::filesystem::path& fileName, const std::vector<std::string>& entries) {
  WriteWholeFile(fileName, FormatPlan(entries));
}

std::string PlanEntryPath(std::string_view planFileName, std::string_view entry) {
  // An absolute entry names its model wherever the plan lies.
  if (!entry.empty() && entry.front() == kPathDelimiter) return AnsiToUtf8(entry);
  const size_t slash = planFileName.rfind(kPathDelimiter);
  // A plan named without a folder lies in the current folder, and so do its models; with no
  // plan file at all, entries are looked for in the root folder.
  if (slash == std::string_view::npos && !planFileName.empty()) return AnsiToUtf8(entry);
  std::string path(slash == std::string_view::npos ? std::string_view()
                                                   : planFileName.substr(0, slash + 1));
  if (path.empty() || path.back() != kPathDelimiter) path += kPathDelimiter;
  path += AnsiToUtf8(entry);
  return path;
}

std::string TPlan::EntryPath(size_t index) const {
  return PlanEntryPath(FileName, Entries.at(index));
}

}  // namespace kelvast
