// SPDX-License-Identifier: MIT
#include "core/output/output_formats.h"

#include "core/output/csv_writer.h"
#include "core/output/database_writer.h"
#include "core/output/generation_run.h"
#include "core/output/sql_writer.h"
#include "core/output/xml_writer.h"
#include "core/platform/text_utils.h"

namespace kelvast {

namespace {

std::unique_ptr<TRecordWriter> MakeSql(TGenModel& model, const TRunOptions& options,
                                       TRunObserver&) {
  return std::make_unique<TSqlWriter>(model, true, options.FixedTime, options.Transaction);
}

std::unique_ptr<TRecordWriter> MakeCsv(TGenModel& model, const TRunOptions&, TRunObserver&) {
  return std::make_unique<TCsvWriter>(model);
}

std::unique_ptr<TRecordWriter> MakeXml(TGenModel& model, const TRunOptions& options,
                                       TRunObserver&) {
  return std::make_unique<TXmlWriter>(model, options.Encoding);
}

std::unique_ptr<TRecordWriter> MakeInsert(TGenModel& model, const TRunOptions& options,
                                          TRunObserver& observer) {
  return std::make_unique<TDatabaseWriter>(model, options.Connection, observer);
}

constexpr std::array<TOutputFormat, kOutputModeCount> kFormats{{
    {omSqlScript, "sql", ".sql", "SQL Script", MakeSql},
    {omCsv, "csv", ".csv", "CSV", MakeCsv},
    {omXml, "xml", ".xml", "XML", MakeXml},
    {omDatabase, "db", "", "Database (ODBC)", MakeInsert},
}};

constexpr bool InModeOrder() {
  for (int i = 0; i < kOutputModeCount; ++i)
    if (kFormats[static_cast<size_t>(i)].Mode != i) return false;
  return true;
}
static_assert(InModeOrder(), "the catalogue lists the formats in the order of TOutputMode");

}  // namespace

const std::array<TOutputFormat, kOutputModeCount>& OutputFormats() { return kFormats; }

const TOutputFormat& OutputFormatOf(TOutputMode mode) {
  const int ordinal = static_cast<int>(mode);
  return kFormats[ordinal >= 0 && ordinal < kOutputModeCount ? static_cast<size_t>(ordinal) : 0];
}

const TOutputFormat* OutputFormatNamed(std::string_view optionName) {
  for (const TOutputFormat& format : kFormats)
    if (format.OptionName == optionName) return &format;
  return nullptr;
}

TOutputMode FormatForFile(std::string_view fileName) {
  const std::string_view name = TrimView(fileName);
  const size_t folder = name.find_last_of("/\\");
  const size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || (folder != std::string_view::npos && dot < folder))
    return omDatabase;
  const std::string_view extension = TrimView(name.substr(dot));
  for (const TOutputFormat& format : kFormats)
    if (!format.Extension.empty() && SameTextAscii(extension, format.Extension))
      return format.Mode;
  return omDatabase;
}

}  // namespace kelvast
