// SPDX-License-Identifier: MIT
#pragma once
// What a generator may reach beyond its own settings: the generators of the model that owns it,
// the record's person, the database connection and the word lists. The model implements the
// owner; generators depend on these two small types and on nothing else of the model.
//
//   void TCPCombo::Prepare(const TGenContext& context) {
//     for (const std::string& name : FColnames)
//       if (TColParams* part = context.Generators->FindGenerator(name)) FParts.push_back(part);
//   }

#include <cstdint>
#include <string_view>

namespace kelvast {

class TColParams;
class TDataAccess;
class TWordLists;

// The generators of one model, as their owner lets them be reached.
class TGeneratorOwner {
 public:
  virtual ~TGeneratorOwner() = default;
  // The generator of that name, ASCII letters compared without regard to case; null when none.
  virtual TColParams* FindGenerator(std::string_view name) const = 0;
  virtual int GeneratorCount() const = 0;
  virtual TColParams& GeneratorAt(int index) const = 0;
  // The courtesy title drawn for the current record, which its names and title columns share.
  virtual TColParams& Person() const = 0;
  // The number of the current record, from 1; 0 before the first. Values that depend on a
  // record's position (counters) come from it, so that they do not depend on which records the
  // same generators made before.
  virtual int64_t RecordNumber() const = 0;
};

// Given to Prepare, once before a run or a sample.
struct TGenContext {
  // The model's generators and the record's person; null for a generator on its own.
  const TGeneratorOwner* Generators = nullptr;
  // The database that column references read; null when there is none.
  TDataAccess* Connection = nullptr;
  // The word lists the dictionary generators draw from; null for the lists loaded last.
  const TWordLists* Words = nullptr;
};

}  // namespace kelvast
