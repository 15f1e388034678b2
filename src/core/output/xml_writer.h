#pragma once
// The XML data file: a declaration, a metadata block listing the fields with a type, one
// <RECORD><ROW .../></RECORD> line per record and a closing line.

#include <string>
#include <string_view>

#include "core/output/record_writer.h"

namespace kelvast {

class TXmlWriter : public TRecordWriter {
 public:
  explicit TXmlWriter(TGenModel& model);

  void Header(TOutputFile& file, TDateTime start) override;
  void Row(TOutputFile& file) override;
  void Footer(TOutputFile& file, TDateTime start) override;

 private:
  std::vector<TWrittenColumn> FColumns;
  std::vector<std::string> FNames;  // XmlName of each written column
};

// The digits, ASCII letters and underscores of s, in order; everything else is dropped.
std::string XmlName(std::string_view s);
// The field type written after fieldtype=, its double quotes included.
std::string XmlFieldType(const TColToGenItem& item);
// The value as written: bare for number-like columns exported as numbers, else escaped.
void AppendXmlValue(TTextBuffer& out, const TColToGenItem& item, std::string_view value);
std::string XmlValue(TColToGenItem& item);
// Entities for &, ", <, >, | and the Latin-1 letters and signs; CR LF and LF become <br>, a lone
// CR disappears, other control characters become &#n;.
void AppendXmlEscape(TTextBuffer& out, std::string_view s);
std::string XmlEscape(std::string_view s);

}  // namespace kelvast
