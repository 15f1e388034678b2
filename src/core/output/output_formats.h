// SPDX-License-Identifier: MIT
#pragma once
// The catalogue of output formats: for each, the name the command line takes, the file
// extension, the window's caption and the writer. The command line, the window and the runs all
// read it, so they agree on every format and on the format a file name stands for.
//
//   const TOutputFormat* format = OutputFormatNamed("csv");     // --format csv
//   TOutputMode mode = FormatForFile("people.XML");              // omXml

#include <array>
#include <memory>
#include <string_view>

namespace kelvast {

class TGenModel;
class TRecordWriter;
class TRunObserver;
struct TRunOptions;

// The output formats, in the order the program offers them.
enum TOutputMode : int { omSqlScript = 0, omCsv = 1, omXml = 2, omDatabase = 3 };
constexpr int kOutputModeCount = 4;

struct TOutputFormat {
  TOutputMode Mode;
  std::string_view OptionName;  // --format
  std::string_view Extension;   // with its dot; empty for the direct insert, which writes no file
  std::string_view Caption;     // the window's choice
  std::unique_ptr<TRecordWriter> (*MakeWriter)(TGenModel& model, const TRunOptions& options,
                                               TRunObserver& observer);
};

// Every format, in the order of TOutputMode.
const std::array<TOutputFormat, kOutputModeCount>& OutputFormats();
const TOutputFormat& OutputFormatOf(TOutputMode mode);
// The format of that option name; null when none has it.
const TOutputFormat* OutputFormatNamed(std::string_view optionName);

// The format an output file name stands for: its extension, letters in any case, when a file
// format has it; any other extension, or none, stands for the direct insert.
TOutputMode FormatForFile(std::string_view fileName);

// The file extension of a file format (".sql", ".csv", ".xml"); empty for the direct insert.
inline std::string_view OutputExtension(TOutputMode mode) { return OutputFormatOf(mode).Extension; }

}  // namespace kelvast
