// SPDX-License-Identifier: MIT
#pragma once
// The pieces the generators' unique spaces are made of: texts of a range of lengths over an
// alphabet, indexed in order, and the counts written with thousands separators for messages.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/model/col_types.h"
#include "core/platform/permutation.h"
#include "core/platform/text_buffer.h"

namespace kelvast {

// The characters a unique text is written with: those of `alphabet` that trimming keeps (codes
// above 32), each once; with a case transform, letters are counted once whatever their case
// (taken upper case), so that transformed values stay distinct.
std::string UniqueAlphabet(std::string_view alphabet, TGenCase dataCase);

// The texts of `low` to `high` characters over an alphabet of `letters` characters.
TUniqueCount TextSpaceSize(uint64_t letters, int64_t low, int64_t high);
// Appends text `index` of that space: the shorter texts first, each length in the alphabet's
// order.
void AppendIndexedText(TTextBuffer& out, std::string_view alphabet, int64_t low, int64_t high,
                       TUniqueCount index);

// 12345678 as "12,345,678"; negative numbers keep their sign.
std::string GroupedDigits(TUniqueCount n);
std::string GroupedDigits(int64_t n);

}  // namespace kelvast
