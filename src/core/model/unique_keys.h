// SPDX-License-Identifier: MIT
#pragma once
// The unique keys of a model: its generators grouped by their key number. Each record draws one
// index of the product of a key's spaces through a keyed permutation of it, and the index's
// mixed-radix digits give each generator of the key the index of its own value. A record's values
// thus depend on its number alone, and no two records of a run repeat a key's tuple while the
// run holds no more records than the product.
//
//   keys.Build(model);            // after every generator is prepared
//   keys.Seed(runSeed);           // every copy of the model, on every thread, the same
//   keys.NewRecord(record);       // each member's index for that record

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/col_params.h"
#include "core/model/gen_context.h"
#include "core/platform/permutation.h"

namespace kelvast {

struct TUniqueKey {
  int32_t Number = 0;
  // Every generator of the key, in the model's order.
  std::vector<TColParams*> Members;
  // Members whose type has no space of values to enumerate, or that read a file of values.
  std::vector<TColParams*> Refused;
  // Members that take digits of the drawn index, and their spaces' sizes (the radices).
  std::vector<TColParams*> Drawn;
  std::vector<TUniqueCount> Radices;
  // The product of the radices: the tuples the drawn members can make.
  TUniqueCount Product = 1;
  // The most records a counter of the key keeps distinct (0 when the key has none).
  TUniqueCount ByRecord = 0;
  TPermutation Order;

  // The records the key keeps distinct: its tuples, or a counter's run, whichever is larger.
  TUniqueCount Capacity() const { return ByRecord > Product ? ByRecord : Product; }
};

class TUniqueKeys {
 public:
  // Groups the owner's generators by key number and switches unique values on for the members
  // that can give them; the order of each key is the one of the last Seed.
  void Build(const TGeneratorOwner& generators);
  // Chooses every key's order from a run's seed; the same seed, the same orders.
  void Seed(uint64_t seed);
  // Gives each drawn member its index for record `record` (from 1).
  void NewRecord(int64_t record);

  bool Empty() const { return FKeys.empty(); }
  const std::vector<TUniqueKey>& Keys() const { return FKeys; }

 private:
  std::vector<TUniqueKey> FKeys;
  uint64_t FSeed = 0;
};

}  // namespace kelvast
