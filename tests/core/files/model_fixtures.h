// SPDX-License-Identifier: MIT
#pragma once
// Models and streams shared by the model-file tests.

#include "core/files/model_stream.h"
#include "core/model/gen_model.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kelvast::test {

// tests/data/files/vectors/<name>.
std::filesystem::path VectorPath(std::string_view name);

// One generator of every type with the non-default values of the all-types vector, set through
// the classes' own setters.
std::unique_ptr<TGenModel> BuildAllTypesModel();

// A whole model file whose property records are what writeProperties appends, followed by the
// two end markers; the header's size field is right.
std::string ModelFileWith(const std::function<void(TStreamWriter&)>& writeProperties);

// The bytes as spaced hexadecimal ("FF 0A 00"), for readable failures.
std::string Hex(std::string_view bytes);

}  // namespace kelvast::test
