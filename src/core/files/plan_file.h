// SPDX-License-Identifier: MIT
#pragma once
// Generation plans: an ordered list of model files run one after the other, kept as a text file
// whose first line is a marker and whose every further line names one model.
//
//   TPlanFileContent plan = ReadPlanFile("nightly.plan");
//   if (plan.Status == TPlanFileContent::psNotAPlan) ShowMessage(kNotAPlanMessage);
//   std::string model = PlanEntryPath("/data/nightly.plan", plan.Entries[0]);

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvast {

// The first line of every plan file.
inline constexpr std::string_view kPlanMarker = "ORVELA KELVAST PLAN";
// Shown when a file's first line is not the marker.
inline constexpr std::string_view kNotAPlanMessage = "This is not a valid data generator plan!";

// What reading a plan file found.
struct TPlanFileContent {
  enum TStatus {
    psOk,        // the marker, then the entries (possibly none)
    psEmpty,     // no line at all: the plan shown stays as it is, without a message
    psNotAPlan,  // the first line is not the marker (case and blanks count)
  };
  TStatus Status = psEmpty;
  std::vector<std::string> Entries;  // in plan order, empty lines included
};

// A plan being edited or run: the file it came from (may be empty) and its entries.
struct TPlan {
  std::string FileName;
  std::vector<std::string> Entries;

  // PlanEntryPath of the entry at index.
  std::string EntryPath(size_t index) const;
};

// Splits the text into lines at CR, LF or CR LF and checks the marker.
TPlanFileContent ParsePlan(std::string_view text);
// ParsePlan on the file's bytes; EFileError when it cannot be read.
TPlanFileContent ReadPlanFile(const std::filesystem::path& fileName);

// The marker and the entries, each line ended by CR LF.
std::string FormatPlan(const std::vector<std::string>& entries);
// Writes FormatPlan to the file; EFileError when it cannot be written.
void WritePlanFile(const std::filesystem::path& fileName, const std::vector<std::string>& entries);

// Where an entry's model is looked for: an absolute entry as it stands; else the plan file's
// folder, a path delimiter when the folder does not end with one, and the entry. With no plan file named the folder is empty and the
// result is in the root folder: PlanEntryPath("", "a.model") is "/a.model". The plan file's
// name is spelled as the file system spells names (UTF-8); the entry is a text of the plan file
// (Windows-1252) and is converted, so that "\xE9t\xE9.model" finds the file named "été.model".
std::string PlanEntryPath(std::string_view planFileName, std::string_view entry);

}  // namespace kelvast
