// SPDX-License-Identifier: MIT
#pragma once
// The entry point every fuzz target defines. libFuzzer calls it with each input; the replay
// program (replay_main.cpp) calls it with the content of files, so a crash reproduces without
// libFuzzer.

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace kelvast::fuzz {

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Stops the run when a property the readers promise does not hold: a finding like a crash.
[[noreturn]] void Broken(const char* what);

}  // namespace kelvast::fuzz
