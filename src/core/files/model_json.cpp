// SPDX-License-Identifier: MIT
#include "core/files/model_json.h"
#include "core/database/connection_secrets.h"
#include "core/platform/file_io.h"

#include "core/model/property.h"
#include "core/platform/code_page.h"
#include "core/platform/errors.h"
#include "core/platform/text_utils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <vector>

namespace kelvast {

namespace {

// Keys keep the order of the property lists, so the text reads like the model file.
using Json = nlohmann::ordered_json;

constexpr std::string_view kInfinity = "Infinity";
constexpr std::string_view kMinusInfinity = "-Infinity";
constexpr std::string_view kNaN = "NaN";

// ---- Export ----

Json FloatToJson(double v) {
  if (std::isfinite(v)) return v;
  if (std::isnan(v)) return kNaN;
  return v > 0 ? kInfinity : kMinusInfinity;
}

Json ObjectToJson(TPersistent& obj) {
  Json j = Json::object();
  for (const TPropInfo& p : obj.Props().Items) {
    const std::string name(p.Name);
    if (p.Kind == TPropKind::Object) {
      if (TPersistent* child = p.GetObject(obj)) j[name] = ObjectToJson(*child);
      continue;
    }
    if (p.Kind == TPropKind::Collection) {
      Json items = Json::array();
      if (auto* cols = dynamic_cast<TPersistentCollection*>(p.GetObject(obj)))
        for (int i = 0; i < cols->Count(); ++i)
          items.push_back(ObjectToJson(cols->ItemAt(i)));
      j[name] = std::move(items);
      continue;
    }
    if (p.IsDefault(obj)) continue;
    switch (p.Kind) {
      case TPropKind::Integer:
        j[name] = p.GetInt(obj);
        break;
      case TPropKind::Float:
        j[name] = FloatToJson(p.GetFloat(obj));
        break;
      case TPropKind::Boolean:
        j[name] = p.GetInt(obj) != 0;
        break;
      case TPropKind::Enum:
        j[name] = p.EnumNames[static_cast<size_t>(p.GetInt(obj))];
        break;
      case TPropKind::Text:
      case TPropKind::Charset:
        j[name] = AnsiToUtf8(p.GetText(obj));
        break;
      case TPropKind::Strings: {
        Json lines = Json::array();
        for (const std::string& line : p.GetStrings(obj))
          lines.push_back(AnsiToUtf8(line));
        j[name] = std::move(lines);
        break;
      }
      case TPropKind::Object:
      case TPropKind::Collection:
        break;
    }
  }
  return j;
}

// ---- Import ----

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
  throw EFormatError("property \"" + path + "\": " + what);
}

std::string TextToAnsi(const Json& v, const std::string& path) {
  if (!v.is_string()) Fail(path, "expects a text");
  std::string ansi;
  if (!Utf8ToAnsi(v.get_ref<const std::string&>(), ansi))
    Fail(path, "the text has characters that Windows-1252 cannot hold");
  return ansi;
}

int64_t IntegerOf(const Json& v, const std::string& path) {
  if (!v.is_number_integer()) Fail(path, "expects an integer");
  constexpr int64_t lo = std::numeric_limits<int32_t>::min();
  constexpr int64_t hi = std::numeric_limits<int32_t>::max();
  if (v.is_number_unsigned() ? v.get<uint64_t>() > static_cast<uint64_t>(hi)
                             : v.get<int64_t>() < lo || v.get<int64_t>() > hi)
    Fail(path,
         "the integer is out of the range " + std::to_string(lo) + " to " + std::to_string(hi));
  return v.get<int64_t>();
}

double FloatOf(const Json& v, const std::string& path) {
  if (v.is_number()) return v.get<double>();
  if (v.is_string()) {
    const std::string& s = v.get_ref<const std::string&>();
    if (s == kInfinity) return std::numeric_limits<double>::infinity();
    if (s == kMinusInfinity) return -std::numeric_limits<double>::infinity();
    if (s == kNaN) return std::numeric_limits<double>::quiet_NaN();
  }
  Fail(path, "expects a number");
}

void ApplyObject(TPersistent& obj, const Json& j, const std::string& where);

void ApplyValue(TPersistent& obj, const TPropInfo& p, const Json& v, const std::string& path) {
  switch (p.Kind) {
    case TPropKind::Integer:
      p.SetInt(obj, IntegerOf(v, path));
      return;
    case TPropKind::Float:
      p.SetFloat(obj, FloatOf(v, path));
      return;
    case TPropKind::Boolean:
      if (!v.is_boolean()) Fail(path, "expects true or false");
      p.SetInt(obj, v.get<bool>() ? 1 : 0);
      return;
    case TPropKind::Enum: {
      if (!v.is_string()) Fail(path, "expects a value name");
      const std::string& name = v.get_ref<const std::string&>();
      const auto it = std::find_if(p.EnumNames.begin(), p.EnumNames.end(),
                                   [&](std::string_view n) { return SameTextAscii(n, name); });
      if (it == p.EnumNames.end()) Fail(path, "has no value named \"" + name + "\"");
      p.SetInt(obj, it - p.EnumNames.begin());
      return;
    }
    case TPropKind::Text:
    case TPropKind::Charset:
      p.SetText(obj, TextToAnsi(v, path));
      return;
    case TPropKind::Strings: {
      if (!v.is_array()) Fail(path, "expects an array of texts");
      std::vector<std::string> lines;
      for (size_t i = 0; i < v.size(); ++i)
        lines.push_back(TextToAnsi(v[i], path + "[" + std::to_string(i) + "]"));
      p.SetStrings(obj, lines);
      return;
    }
    case TPropKind::Object: {
      if (!v.is_object()) Fail(path, "expects an object");
      TPersistent* child = p.GetObject(obj);
      if (!child) Fail(path, "holds no object");
      ApplyObject(*child, v, path + ".");
      return;
    }
    case TPropKind::Collection: {
      if (!v.is_array()) Fail(path, "expects an array of objects");
      auto* cols = dynamic_cast<TPersistentCollection*>(p.GetObject(obj));
      if (!cols) Fail(path, "holds no collection");
      if (!v.empty()) cols->Clear();
      for (size_t i = 0; i < v.size(); ++i) {
        const std::string item = path + "[" + std::to_string(i) + "]";
        if (!v[i].is_object()) Fail(item, "expects an object");
        ApplyObject(cols->AddItem(), v[i], item + ".");
      }
      return;
    }
  }
}

void ApplyObject(TPersistent& obj, const Json& j, const std::string& where) {
  // Every name is checked first; the values then go in the order of the property list, whatever
  // the order of the text, so that ColType always replaces Param before Param is filled.
  const std::vector<TPropInfo>& props = obj.Props().Items;
  std::vector<const Json*> given(props.size(), nullptr);
  for (auto it = j.begin(); it != j.end(); ++it) {
    const TPropInfo* p = obj.Props().Find(it.key());
    if (!p) throw EFormatError("unknown property \"" + where + it.key() + "\"");
    const auto index = static_cast<size_t>(p - props.data());
    if (given[index]) Fail(where + it.key(), "is given twice");
    given[index] = &it.value();
  }
  for (size_t i = 0; i < props.size(); ++i)
    if (given[i]) ApplyValue(obj, props[i], *given[i], where + std::string(props[i].Name));
}

}  // namespace

std::string ModelToJson(TGenModel& model) {
  return ObjectToJson(model).dump(2) + "\n";
}

std::unique_ptr<TGenModel> ModelFromJson(std::string_view json) {
  Json j;
  try {
    j = Json::parse(json.begin(), json.end());
  } catch (const Json::exception& e) {
    throw EFormatError(std::string("the model's JSON text is malformed: ") + e.what());
  }
  if (!j.is_object()) throw EFormatError("the model's JSON text is not an object");
  auto model = std::make_unique<TGenModel>();
  ApplyObject(*model, j, "");
  return model;
}

void SaveModelJsonFile(const std::filesystem::path& fileName, TGenModel& model) {
  WriteWholeFile(fileName, ModelToJson(model) + "\n", FileAccessFor(model.ConnectionString()));
}

}  // namespace kelvast
