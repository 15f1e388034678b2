// SPDX-License-Identifier: MIT
// The model-file reader on arbitrary bytes: it either loads or raises EFormatError, and what it
// loads saves to bytes that load again, to the same bytes, and through JSON to the same bytes.

#include "core/files/model_file.h"
#include "core/files/model_json.h"
#include "core/platform/errors.h"
#include "fuzz_target.h"

#include <string>

using namespace kelvast;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string first;
  try {
    first = SaveModelToBytes(*LoadModelFromBytes(fuzz::AsText(data, size)));
  } catch (const EFormatError&) {
    return 0;
  }
  try {
    // One more pass settles what setters normalise (modified flags follow the model's own).
    const std::string settled = SaveModelToBytes(*LoadModelFromBytes(first));
    auto model = LoadModelFromBytes(settled);
    if (SaveModelToBytes(*model) != settled) fuzz::Broken("a saved model reads back differently");
    // The object name (always empty in the files the program writes) is no property, so JSON
    // does not carry it.
    model->SetName("");
    if (SaveModelToBytes(*ModelFromJson(ModelToJson(*model))) != SaveModelToBytes(*model))
      fuzz::Broken("a model comes back differently through JSON");
  } catch (const EFormatError&) {
    fuzz::Broken("a saved model does not load");
  }
  return 0;
}
