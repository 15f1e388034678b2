// SPDX-License-Identifier: MIT
#pragma once
// The XML data file: a declaration, a metadata block listing the fields with a type, one
// <RECORD><ROW .../></RECORD> line per record and a closing line.

#include <string>
#include <string_view>

#include "core/output/record_writer.h"

namespace kelvast {

class TXmlWriter : public TRecordWriter {
 public:
  // The declaration names the file's encoding.
  explicit TXmlWriter(TGenModel& model, TTextEncoding encoding = teWindows1252);
  std::unique_ptr<TRecordWriter> RowWriter(TGenModel& copy) const override {
    return std::make_unique<TXmlWriter>(copy, FEncoding);
  }

  void Header(TRowStream& file, TDateTime start) override;
  void Row(TRowSink& file) override;
  std::vector<std::string> ClosingLines(const TRunEnd& end) override;

 private:
  std::vector<TWrittenColumn> FColumns;
  std::vector<std::string> FNames;  // XmlName of each written column
  TTextEncoding FEncoding;
};

// The digits, ASCII letters and underscores of s, in order; everything else is dropped, and a
// name that would be empty or start with a digit gets a leading underscore.
std::string XmlName(std::string_view s);
// The field type written after fieldtype=, its double quotes included.
std::string XmlFieldType(const TColToGenItem& item);
// The item's value as written in an attribute.
std::string XmlValue(TColToGenItem& item);
// An attribute value that every XML 1.0 parser reads back as s: &, ", < and > as entities,
// tab and every byte above ASCII as the reference of its Unicode character (&#233; for é), CR LF
// and LF as &#10; (a lone CR disappears), other control characters left out.
void AppendXmlEscape(TTextBuffer& out, std::string_view s);
std::string XmlEscape(std::string_view s);

}  // namespace kelvast
