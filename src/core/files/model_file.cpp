// SPDX-License-Identifier: MIT
#include "core/files/model_file.h"
#include "core/database/connection_secrets.h"

#include "core/platform/file_io.h"
#include "core/files/model_stream.h"
#include "core/model/property.h"
#include "core/platform/code_page.h"
#include "core/platform/errors.h"
#include "core/platform/text_utils.h"

#include <algorithm>

namespace kelvast {

namespace {

constexpr uint8_t kResourceTypeByNumber = 0xFF;
constexpr uint16_t kRtRcData = 10;
constexpr uint16_t kMemoryFlags = 0x1030;
constexpr size_t kResourceNameMax = 63;
// The reader looks for the end of the resource name within this many leading bytes.
constexpr size_t kHeaderProbe = 79;
constexpr std::string_view kSignature = "TPF0";
constexpr std::string_view kStringsName = "Strings";

// ---- Writing: one walk over the property lists ----

void WriteProperties(TStreamWriter& w, TPersistent& obj, const std::string& prefix);

void WriteCollection(TStreamWriter& w, TPersistentCollection& cols) {
  w.WriteValueType(vaCollection);
  for (int i = 0; i < cols.Count(); ++i) {
    w.WriteValueType(vaList);
    WriteProperties(w, cols.ItemAt(i), "");  // paths inside an item start afresh
    w.WriteValueType(vaNull);
  }
  w.WriteValueType(vaNull);
}

void WriteProperties(TStreamWriter& w, TPersistent& obj, const std::string& prefix) {
  for (const TPropInfo& p : obj.Props().Items) {
    const std::string path = prefix + std::string(p.Name);
    if (p.Kind == TPropKind::Object) {
      if (TPersistent* child = p.GetObject(obj)) WriteProperties(w, *child, path + ".");
      continue;
    }
    if (p.Kind == TPropKind::Collection) {
      if (auto* cols = dynamic_cast<TPersistentCollection*>(p.GetObject(obj))) {
        w.WriteShortString(path);
        WriteCollection(w, *cols);
      }
      continue;
    }
    if (p.IsDefault(obj)) continue;
    switch (p.Kind) {
      case TPropKind::Integer:
        w.WriteShortString(path);
        w.WriteInteger(static_cast<int32_t>(p.GetInt(obj)));
        break;
      case TPropKind::Float:
        w.WriteShortString(path);
        w.WriteFloat(p.GetFloat(obj));
        break;
      case TPropKind::Boolean:
        w.WriteShortString(path);
        w.WriteBoolean(p.GetInt(obj) != 0);
        break;
      case TPropKind::Enum:
        w.WriteShortString(path);
        w.WriteIdent(p.EnumNames[static_cast<size_t>(p.GetInt(obj))]);
        break;
      case TPropKind::Text:
        w.WriteShortString(path);
        w.WriteText(p.GetText(obj));
        break;
      case TPropKind::Charset:
        w.WriteShortString(path);
        w.WriteListText(p.GetText(obj));
        break;
      case TPropKind::Strings:
        w.WriteShortString(path + "." + std::string(kStringsName));
        w.WriteValueType(vaList);
        for (const std::string& line : p.GetStrings(obj))
          w.WriteListText(line);
        w.WriteValueType(vaNull);
        break;
      case TPropKind::Object:
      case TPropKind::Collection:
        break;
    }
  }
}

// ---- Reading: property records applied by path through the setters ----

class TModelReader {
 public:
  explicit TModelReader(TStreamReader& r) : FIn(r) {}

  // Records until the end marker, applied to obj. where names obj in messages ("" or "Cols[2].").
  void ReadProperties(TPersistent& obj, const std::string& where) {
    while (FIn.PeekByte() != vaNull)
      ReadProperty(obj, where);
    FIn.ReadByte();
  }

 private:
  [[noreturn]] static void Fail(const std::string& what) { throw EFormatError(what); }

  void ReadProperty(TPersistent& root, const std::string& where) {
    const std::string path = FIn.ReadShortString();
    const std::string shown = where + path;
    TPersistent* obj = &root;
    std::string_view rest = path;
    for (;;) {
      const size_t dot = rest.find('.');
      const std::string_view name = rest.substr(0, dot);
      const TPropInfo* p = obj->Props().Find(name);
      if (!p) Fail("unknown property \"" + shown + "\"");
      if (dot == std::string_view::npos) return ReadValue(*obj, *p, shown);
      rest.remove_prefix(dot + 1);
      if (p->Kind == TPropKind::Strings && SameTextAscii(rest, kStringsName))
        return ReadStrings(*obj, *p, shown);
      TPersistent* child = (p->Kind == TPropKind::Object || p->Kind == TPropKind::Collection)
                               ? p->GetObject(*obj)
                               : nullptr;
      if (!child)
        Fail("property \"" + shown + "\" goes through \"" + std::string(name) +
             "\", which holds no object");
      obj = child;
    }
  }

  [[noreturn]] static void WrongTag(const std::string& shown, std::string_view expected,
                                    uint8_t tag) {
    Fail("property \"" + shown + "\" expects " + std::string(expected) + ", found " +
         ValueTypeName(tag));
  }

  void ReadValue(TPersistent& obj, const TPropInfo& p, const std::string& shown) {
    const uint8_t tag = FIn.ReadByte();
    switch (p.Kind) {
      case TPropKind::Integer:
        if (!IsIntegerTag(tag)) WrongTag(shown, "an integer", tag);
        p.SetInt(obj, FIn.ReadIntegerAfter(tag));
        return;
      case TPropKind::Float:
        if (tag != vaExtended) WrongTag(shown, "a floating-point number", tag);
        p.SetFloat(obj, FIn.ReadFloatAfter());
        return;
      case TPropKind::Boolean:
        if (tag != vaFalse && tag != vaTrue) WrongTag(shown, "a boolean", tag);
        p.SetInt(obj, tag == vaTrue ? 1 : 0);
        return;
      case TPropKind::Enum: {
        if (tag != vaIdent) WrongTag(shown, "an enumeration name", tag);
        const std::string name = FIn.ReadShortString();
        const auto it = std::find_if(p.EnumNames.begin(), p.EnumNames.end(),
                                     [&](std::string_view n) { return SameTextAscii(n, name); });
        if (it == p.EnumNames.end())
          Fail("property \"" + shown + "\" has no value named \"" + name + "\"");
        p.SetInt(obj, it - p.EnumNames.begin());
        return;
      }
      case TPropKind::Text:
      case TPropKind::Charset:
        if (!IsTextTag(tag)) WrongTag(shown, "a text", tag);
        p.SetText(obj, FIn.ReadTextAfter(tag));
        return;
      case TPropKind::Collection: {
        if (tag != vaCollection) WrongTag(shown, "a collection", tag);
        auto* cols = dynamic_cast<TPersistentCollection*>(p.GetObject(obj));
        if (!cols) Fail("property \"" + shown + "\" holds no collection");
        ReadCollection(*cols, shown);
        return;
      }
      case TPropKind::Strings:
        WrongTag(shown, "its lines under \"" + std::string(kStringsName) + "\"", tag);
      case TPropKind::Object:
        WrongTag(shown, "the records of its object", tag);
    }
  }

  void ReadStrings(TPersistent& obj, const TPropInfo& p, const std::string& shown) {
    const uint8_t tag = FIn.ReadByte();
    if (tag != vaList) WrongTag(shown, "a list of texts", tag);
    std::vector<std::string> lines;
    for (uint8_t t; (t = FIn.ReadByte()) != vaNull;) {
      if (!IsTextTag(t)) WrongTag(shown, "texts", t);
      lines.push_back(FIn.ReadTextAfter(t));
    }
    p.SetStrings(obj, lines);
  }

  void ReadCollection(TPersistentCollection& cols, const std::string& shown) {
    // An empty collection in the stream leaves the present items alone.
    if (FIn.PeekByte() != vaNull) cols.Clear();
    for (uint8_t tag; (tag = FIn.ReadByte()) != vaNull;) {
      // An item may be preceded by an integer (its order value), which is skipped.
      if (IsIntegerTag(tag)) {
        FIn.ReadIntegerAfter(tag);
        tag = FIn.ReadByte();
      }
      if (tag != vaList) WrongTag(shown, "collection items", tag);
      const std::string where = shown + "[" + std::to_string(cols.Count()) + "].";
      ReadProperties(cols.AddItem(), where);
    }
  }

  TStreamReader& FIn;
};

// The offset at which the component stream starts, after checking the resource header.
size_t SkipResourceHeader(std::string_view bytes) {
  if (bytes.size() < 3 || static_cast<uint8_t>(bytes[0]) != kResourceTypeByNumber ||
      static_cast<uint8_t>(bytes[1]) != (kRtRcData & 0xFF) ||
      static_cast<uint8_t>(bytes[2]) != (kRtRcData >> 8))
    throw EFormatError("not a model file: the resource header is invalid");
  const std::string_view probe = bytes.substr(0, kHeaderProbe);
  const size_t nameEnd = probe.find('\0', 3);
  if (nameEnd == std::string_view::npos)
    throw EFormatError("not a model file: the resource name is not terminated");
  // Memory flags (2 bytes) and stream size (4 bytes) follow the name; neither is checked.
  return nameEnd + 1 + 6;
}

}  // namespace

std::string SaveModelToBytes(TGenModel& model) {
  TStreamWriter w;
  w.WriteByte(kResourceTypeByNumber);
  w.WriteUInt16(kRtRcData);
  w.WriteBytes(AnsiUpperCase(model.ClassName().substr(0, kResourceNameMax)));
  w.WriteByte(0);
  w.WriteUInt16(kMemoryFlags);
  const size_t sizeField = w.Size();
  w.WriteUInt32(0);
  const size_t streamStart = w.Size();

  w.WriteBytes(kSignature);
  w.WriteShortString(model.ClassName());
  w.WriteShortString(model.Name());
  WriteProperties(w, model, "");
  w.WriteValueType(vaNull);  // end of properties
  w.WriteValueType(vaNull);  // end of children
  w.PatchUInt32(sizeField, static_cast<uint32_t>(w.Size() - streamStart));
  return w.Bytes();
}

void SaveModelFile(const std::filesystem::path& fileName, TGenModel& model) {
  WriteWholeFile(fileName, SaveModelToBytes(model), FileAccessFor(model.ConnectionString()));
}

std::unique_ptr<TGenModel> LoadModelFromBytes(std::string_view bytes) {
  TStreamReader in(bytes, SkipResourceHeader(bytes));
  if (in.ReadBytes(kSignature.size()) != kSignature)
    throw EFormatError("not a model file: the stream signature is not TPF0");
  const std::string className = in.ReadShortString();
  auto model = std::make_unique<TGenModel>();
  if (!SameTextAscii(className, model->ClassName()))
    throw EFormatError("the file holds a \"" + className + "\", not a " +
                       std::string(model->ClassName()));

  model->SetName(in.ReadShortString());
  TModelReader(in).ReadProperties(*model, "");
  if (const uint8_t children = in.ReadByte(); children != vaNull)
    throw EFormatError("the model file holds child objects, which a model never has");
  return model;
}

std::unique_ptr<TGenModel> LoadModelFile(const std::filesystem::path& fileName) {
  const std::string bytes = ReadWholeFile(fileName);
  try {
    return LoadModelFromBytes(bytes);
  } catch (const EFormatError& e) {
    throw EFormatError("Cannot load the model \"" + fileName.string() + "\": " + e.what());
  }
}

}  // namespace kelvast
