// SPDX-License-Identifier: MIT
// The JSON import on arbitrary text: it either builds a model or raises EFormatError, and the
// model it builds exports to JSON that imports to the same model file.

#include "core/files/model_file.h"
#include "core/files/model_json.h"
#include "core/platform/errors.h"
#include "fuzz_target.h"

#include <string>

using namespace kelvast;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<TGenModel> model;
  try {
    model = ModelFromJson(fuzz::AsText(data, size));
  } catch (const EFormatError&) {
    return 0;
  }
  try {
    const std::string settled = SaveModelToBytes(*LoadModelFromBytes(SaveModelToBytes(*model)));
    auto loaded = LoadModelFromBytes(settled);
    if (SaveModelToBytes(*ModelFromJson(ModelToJson(*loaded))) != settled)
      fuzz::Broken("an imported model comes back differently through JSON");
  } catch (const EFormatError&) {
    fuzz::Broken("an imported model does not export and import again");
  }
  return 0;
}
