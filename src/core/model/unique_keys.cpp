// SPDX-License-Identifier: MIT
#include "core/model/unique_keys.h"

#include <algorithm>

namespace kelvast {

namespace {
// Keys of different numbers under one seed get unrelated orders.
uint64_t KeySeed(uint64_t seed, int32_t number) {
  uint64_t z = seed ^ (0xA0761D6478BD642FULL * static_cast<uint64_t>(number + 1));
  z = (z ^ (z >> 32)) * 0xE7037ED1A0B428DBULL;
  return z ^ (z >> 29);
}
}  // namespace

void TUniqueKeys::Build(const TGeneratorOwner& generators) {
  FKeys.clear();
  for (int i = 0; i < generators.GeneratorCount(); ++i) {
    TColParams& param = generators.GeneratorAt(i);
    if (param.Unique() <= 0) continue;
    auto key = std::find_if(FKeys.begin(), FKeys.end(),
                            [&](const TUniqueKey& k) { return k.Number == param.Unique(); });
    if (key == FKeys.end()) {
      key = FKeys.emplace(FKeys.end());
      key->Number = param.Unique();
    }
    key->Members.push_back(&param);
    const TUniqueSpace space = param.UniqueSpace();
    if (!space.Applies || param.UseExternalFile()) {
      key->Refused.push_back(&param);
      continue;
    }
    param.SetUniqueActive(true);
    if (space.ByRecord) {
      key->ByRecord = std::max(key->ByRecord, space.Size);
      continue;
    }
    key->Drawn.push_back(&param);
    key->Radices.push_back(space.Size);
    key->Product = SaturatingMul(key->Product, space.Size);
  }
  Seed(FSeed);
}

void TUniqueKeys::Seed(uint64_t seed) {
  if (seed == FSeed && std::all_of(FKeys.begin(), FKeys.end(), [](const TUniqueKey& k) {
        return k.Order.Size() == k.Product;
      }))
    return;
  FSeed = seed;
  for (TUniqueKey& key : FKeys) key.Order = TPermutation(key.Product, KeySeed(seed, key.Number));
}

void TUniqueKeys::NewRecord(int64_t record) {
  const auto r = static_cast<TUniqueCount>(record > 0 ? record - 1 : 0);
  for (const TUniqueKey& key : FKeys) {
    if (key.Drawn.empty() || key.Product == 0) continue;
    // Past the key's capacity (a sample of a short space) the values start over.
    TUniqueCount index = key.Order.Apply(r < key.Product ? r : r % key.Product);
    if (key.Drawn.size() == 1) {
      key.Drawn[0]->SetUniqueIndex(index);
      continue;
    }
    // Mixed-radix digits, the first member's the fastest; 64-bit division when the index fits.
    const size_t last = key.Drawn.size() - 1;
    if (key.Product <= UINT64_MAX) {
      auto small = static_cast<uint64_t>(index);
      for (size_t m = 0; m < last; ++m) {
        const auto radix = static_cast<uint64_t>(key.Radices[m]);
        key.Drawn[m]->SetUniqueIndex(small % radix);
        small /= radix;
      }
      key.Drawn[last]->SetUniqueIndex(small);
      continue;
    }
    for (size_t m = 0; m < last; ++m) {
      key.Drawn[m]->SetUniqueIndex(index % key.Radices[m]);
      index /= key.Radices[m];
    }
    key.Drawn[last]->SetUniqueIndex(index);
  }
}

}  // namespace kelvast
