// SPDX-License-Identifier: MIT
#pragma once
// The JSON form of a model: the model file's own structure in text, walked from the same
// property lists. Property names and order as in the file; enumerations by name, string lists
// as arrays, the character set as a text, Param as a nested object, Cols as an array; what the
// file leaves out is left out. Texts are UTF-8 here and Windows-1252 in memory.
//
//   std::string text = ModelToJson(model);
//   std::unique_ptr<TGenModel> back = ModelFromJson(text);  // saves to the same file bytes

#include "core/model/gen_model.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace kelvast {

// The model as indented JSON. Infinite and NaN floats, which JSON numbers cannot hold, are
// written as the texts "Infinity", "-Infinity" and "NaN".
std::string ModelToJson(TGenModel& model);

// Writes ModelToJson and a line break to the file, as SaveModelFile writes a model file (owner
// only when the connection string holds a password). Raises EFileError naming the file.
void SaveModelJsonFile(const std::filesystem::path& fileName, TGenModel& model);

// A new model built from JSON: every property present is applied through its setter, in the
// order of the property list; missing ones keep a new object's value. Raises EFormatError
// naming the property (as "Cols[1].Param.DataLength") for a name the class does not have, a
// value of the wrong kind or out of range, or a text Windows-1252 cannot hold; and for JSON
// that does not parse.
std::unique_ptr<TGenModel> ModelFromJson(std::string_view json);

}  // namespace kelvast
