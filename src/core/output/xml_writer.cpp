// SPDX-License-Identifier: MIT
#include "core/output/xml_writer.h"

#include <algorithm>
#include <array>

#include "core/generators/string_gens.h"
#include "core/platform/code_page.h"
#include "core/platform/decimal_digits.h"

namespace kelvast {

namespace {

// What the escape does with each byte: copy it, write a reference, or leave it out.
enum TXmlByte : unsigned char { xbCopy, xbReference, xbDrop, xbAmp, xbQuote, xbLess, xbGreater,
                                xbCr, xbLf };

constexpr std::array<TXmlByte, 256> MakeXmlBytes() {
  std::array<TXmlByte, 256> t{};
  // Control characters other than tab, CR and LF are not XML 1.0 characters at all, not even as
  // references; tab is written as a reference so that attribute normalisation keeps it.
  for (int c = 0; c < 32; ++c) t[c] = xbDrop;
  t['\t'] = xbReference;
  t['\r'] = xbCr;
  t['\n'] = xbLf;
  t['&'] = xbAmp;
  t['"'] = xbQuote;
  t['<'] = xbLess;
  t['>'] = xbGreater;
  // Every byte above ASCII is written as the reference of its Unicode character, so readers get
  // the same text whatever they make of the declared code page (and its five undefined bytes).
  for (int c = 0x80; c < 0x100; ++c) t[c] = xbReference;
  return t;
}
constexpr std::array<TXmlByte, 256> kXmlBytes = MakeXmlBytes();

void AppendReference(TTextBuffer& out, char32_t c) {
  out.append("&#", 2);
  AppendDecimal(out, c);
  out += ';';
}

}  // namespace

std::string XmlName(std::string_view s) {
  std::string out;
  for (char c : s)
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
      out += c;
  // An XML name cannot be empty or start with a digit.
  if (out.empty() || (out[0] >= '0' && out[0] <= '9')) out.insert(out.begin(), '_');
  return out;
}

std::string XmlFieldType(const TColToGenItem& item) {
  const TColParams& param = item.Param();
  if (param.ExportType() == etString) {
    if (param.DataLength() < 1) return "\"string\"";
    return "\"string\" WIDTH=\"" + std::to_string(param.DataLength()) + "\"";
  }
  switch (item.ColType()) {
    case ctZip: case ctInteger: case ctIncremental: case ctConst:
      return "\"i8\"";
    case ctBit:
      return "\"i2\"";
    case ctFloat: case ctColRef: case ctCombo:
      return "\"r8\"";
    case ctFormatted: {
      // The smallest integer type that holds every number of the mask's digits; a mask that
      // makes other characters, or more digits than 64 bits hold, gives text of its length.
      const auto& mask = static_cast<const TCPFormatted&>(param);
      const int digits = mask.NumberDigits();
      if (digits == 0 || digits > 18)
        return "\"string\" WIDTH=\"" + std::to_string(std::max<size_t>(1, mask.Mask().size())) + "\"";
      return digits <= 2 ? "\"i1\"" : digits <= 4 ? "\"i2\"" : digits <= 9 ? "\"i4\"" : "\"i8\"";
    }
    default:
      return "\"&lt;UNKNOWN TYPE&gt;\"";
  }
}

void AppendXmlEscape(TTextBuffer& out, std::string_view s) {
  const char* const end = s.data() + s.size();
  const char* run = s.data();  // the start of the bytes copied as they are
  for (const char* at = run; at != end; ++at) {
    const auto c = static_cast<unsigned char>(*at);
    const TXmlByte kind = kXmlBytes[c];
    if (kind == xbCopy) continue;
    out.append(run, static_cast<size_t>(at - run));
    run = at + 1;
    switch (kind) {
      case xbCopy: break;
      case xbReference: AppendReference(out, AnsiToWideChar(c)); break;
      case xbDrop: break;
      case xbAmp: out.append("&amp;", 5); break;
      case xbQuote: out.append("&quot;", 6); break;
      case xbLess: out.append("&lt;", 4); break;
      case xbGreater: out.append("&gt;", 4); break;
      case xbCr:
        // CR LF is one line break; a lone CR disappears.
        if (at + 1 != end && at[1] == '\n') {
          out.append("&#10;", 5);
          ++at;
          run = at + 1;
        }
        break;
      case xbLf: out.append("&#10;", 5); break;
    }
  }
  out.append(run, static_cast<size_t>(end - run));
}

std::string XmlEscape(std::string_view s) {
  TTextBuffer out;
  AppendXmlEscape(out, s);
  return std::string(out.View());
}

std::string XmlValue(TColToGenItem& item) { return XmlEscape(item.Param().GetValue()); }

TXmlWriter::TXmlWriter(TGenModel& model, TTextEncoding encoding)
    : FColumns(WrittenColumns(model)), FEncoding(encoding) {
  // A name may stand only once in an element: a later column whose name is taken already gets
  // the first free "_2", "_3", ... after it.
  for (const TWrittenColumn& column : FColumns) {
    const std::string base = XmlName(column.Item->DBColName());
    std::string name = base;
    for (int n = 2; std::find(FNames.begin(), FNames.end(), name) != FNames.end(); ++n)
      name = base + "_" + std::to_string(n);
    FNames.push_back(name);
  }
}

void TXmlWriter::Header(TRowStream& file, TDateTime) {
  const std::string encoding =
      FEncoding == teUtf8 ? "UTF-8" : "windows-" + std::to_string(AnsiCodePage());
  file.WriteLine("<?xml version=\"1.0\" encoding=\"" + encoding + "\" standalone=\"yes\"?>");
  file.WriteLine(
      "<!-- Generated by Kelvast - Standard XML Compatibility  -->  ");
  file.WriteLine("<RECORDS>");
  file.WriteLine("<METADATA>");
  file.WriteLine(" <FIELDS>");
  for (size_t i = 0; i < FColumns.size(); ++i)
    file.WriteLine(" <FIELD attrname=\"" + FNames[i] +
                   "\" fieldtype=" + XmlFieldType(*FColumns[i].Item) + "/>");
  file.WriteLine(" </FIELDS>");
  file.WriteLine("</METADATA>");
}

void TXmlWriter::Row(TRowSink& file) {
  TTextBuffer& row = file.RowBuffer();
  row += "<RECORD><ROW";
  for (size_t i = 0; i < FColumns.size(); ++i) {
    row += ' ';
    row += FNames[i];
    row += "=\"";
    AppendXmlEscape(row, FColumns[i].Param->GetValue());
    row += '"';
  }
  row += "/></RECORD>";
  file.EndLine();
}

std::vector<std::string> TXmlWriter::ClosingLines(const TRunEnd& end) {
  std::vector<std::string> lines;
  if (end.Kind != rkComplete) lines.push_back("<!-- " + CutNote(end) + " -->");
  lines.push_back("</RECORDS>");
  return lines;
}

}  // namespace kelvast
