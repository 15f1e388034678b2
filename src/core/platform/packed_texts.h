// SPDX-License-Identifier: MIT
#pragma once
// TPackedTexts, a list of texts laid out for random draws on the record loop. Each text of up
// to 15 bytes sits whole in one 16-byte slot with its length, so drawing one touches a single
// cache line and copies one fixed-size word; longer texts keep a slot that points at them. The
// lists drawn from (words, towns, names, formatted days) are tens of thousands long: half the
// size of strings, and one memory access instead of two, keeps them in the cache.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/random.h"
#include "core/platform/text_buffer.h"

namespace kelvast {

class TPackedTexts {
 public:
  static constexpr size_t kInline = 15;

  size_t size() const { return FSlots.size(); }
  bool empty() const { return FSlots.empty(); }
  void clear() {
    FSlots.clear();
    FLong.clear();
  }
  void reserve(size_t n) { FSlots.reserve(n); }

  void push_back(std::string_view text) {
    FSlots.emplace_back();
    Set(FSlots.size() - 1, text);
  }
  // A list of n empty texts, to be set one by one.
  void resize(size_t n) { FSlots.resize(n); }
  void Set(size_t index, std::string_view text) {
    TSlot& slot = FSlots[index];
    slot = TSlot();
    if (text.size() <= kInline) {
      std::memcpy(slot.Text, text.data(), text.size());
      slot.Length = static_cast<uint8_t>(text.size());
    } else {
      slot.Length = kLongMark;
      const auto at = static_cast<uint32_t>(FLong.size());
      std::memcpy(slot.Text, &at, sizeof at);
      FLong.emplace_back(text);
    }
  }

  bool IsEmpty(size_t index) const { return FSlots[index].Length == 0; }
  // Asks for the slot at index to be brought into the cache.
  void Prefetch(size_t index) const { __builtin_prefetch(&FSlots[index]); }

  std::string_view operator[](size_t index) const {
    const TSlot& slot = FSlots[index];
    if (slot.Length != kLongMark) return {slot.Text, slot.Length};
    return FLong[LongIndex(slot)];
  }

  // Appends the text at index.
  void AppendTo(TTextBuffer& out, size_t index) const {
    const TSlot& slot = FSlots[index];
    if (slot.Length == kLongMark) {
      out += FLong[LongIndex(slot)];
      return;
    }
    // The whole slot is copied; the buffer's padding takes the bytes past the text.
    char* at = out.Room(sizeof slot.Text);
    std::memcpy(at, slot.Text, sizeof slot.Text);
    out.Commit(at + slot.Length);
  }

 private:
  static constexpr uint8_t kLongMark = 0xFF;
  struct TSlot {
    char Text[kInline] = {};
    uint8_t Length = 0;
  };
  static_assert(sizeof(TSlot) == 16);
  static uint32_t LongIndex(const TSlot& slot) {
    uint32_t at;
    std::memcpy(&at, slot.Text, sizeof at);
    return at;
  }

  std::vector<TSlot> FSlots;
  std::vector<std::string> FLong;
};

// The calling thread's draw epoch: a run starts a new one with every block of records, whose
// draws must not depend on the blocks made before it on the same thread.
namespace detail {
inline constinit thread_local uint64_t gDrawEpoch = 0;
}
inline uint64_t DrawEpoch() { return detail::gDrawEpoch; }
inline void NewDrawEpoch() { ++detail::gDrawEpoch; }

// Draws indexes into a packed list one draw ahead: the next value's index is drawn with this one
// and its slot fetched into the cache while the rest of the record is built, so that drawing
// from a long list does not wait for memory. Every index is still an independent uniform draw.
// An index drawn ahead in an earlier epoch is dropped, so a block's draws begin afresh.
class TDrawAhead {
 public:
  // Forgets the index drawn ahead (the list changed).
  void Reset() { FNext = kNone; }

  size_t Next(const TPackedTexts& list) {
    const auto size = static_cast<int32_t>(list.size());
    const uint64_t epoch = DrawEpoch();
    if (epoch != FEpoch) {
      FEpoch = epoch;
      FNext = kNone;
    }
    const size_t now = FNext < list.size() ? FNext : static_cast<size_t>(Random(size));
    FNext = static_cast<size_t>(Random(size));
    list.Prefetch(FNext);
    return now;
  }

 private:
  static constexpr size_t kNone = ~size_t{0};
  size_t FNext = kNone;
  uint64_t FEpoch = 0;
};

}  // namespace kelvast
