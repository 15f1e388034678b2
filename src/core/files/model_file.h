// SPDX-License-Identifier: MIT
#pragma once
// Model files: a resource header followed by a component stream in which every stored property
// of the model, of each generator and of each parameter object is written by name, as the
// classes' property lists (core/model/property.h) describe them.
//
//   SaveModelFile("people.model", model);
//   std::unique_ptr<TGenModel> copy = LoadModelFile("people.model");

#include "core/model/gen_model.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace kelvast {

// The whole file as bytes. The model stands as the current model while its courtesy titles are
// read (ctSex generators keep them there).
std::string SaveModelToBytes(TGenModel& model);

// Writes the file, replacing an existing one only once the new content is complete on disk. A
// model whose connection string holds a password is written readable by its owner only.
// Raises EFileError naming the file when it cannot be written.
void SaveModelFile(const std::filesystem::path& fileName, TGenModel& model);

// A new model read from the bytes of a model file. Raises EFormatError with the reason (wrong
// header, signature or class, unknown property, wrong value tag, truncated stream); the partly
// read model is destroyed. No other model changes, the current one included.
std::unique_ptr<TGenModel> LoadModelFromBytes(std::string_view bytes);

// LoadModelFromBytes on the file's content. EFileError when it cannot be read, EFormatError
// (naming the file) when its content is not a model.
std::unique_ptr<TGenModel> LoadModelFile(const std::filesystem::path& fileName);

}  // namespace kelvast
