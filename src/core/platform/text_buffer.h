// SPDX-License-Identifier: MIT
#pragma once
// TTextBuffer, a growable run of bytes for building text on the record loop: generated values
// and output rows. Appends are inline and check only the room left, with no terminating zero to
// maintain and no library call for short copies, which makes them cheaper than std::string's.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelvast {

// A view of text held in a text buffer, whose storage goes on for TTextBuffer::kPadding bytes
// past the view's end: the only kind of text the padded copies accept, and only a text buffer
// makes one.
class TPaddedView : public std::string_view {
 public:
  // The same text without the blanks and control characters (codes 0 to 32) at its ends; still
  // padded, since it ends no later.
  TPaddedView Trimmed() const {
    const char* begin = data();
    const char* end = begin + size();
    while (begin != end && static_cast<unsigned char>(*begin) <= 32) ++begin;
    while (end != begin && static_cast<unsigned char>(end[-1]) <= 32) --end;
    return TPaddedView(begin, static_cast<size_t>(end - begin));
  }

  // Whether the text holds c. The text is scanned in whole 16-byte lanes that may reach into the
  // padding, with the bytes past the end masked off: no library call and no loop over the
  // bytes for the short texts of a record.
  bool Contains(char c) const;

 private:
  friend class TTextBuffer;
  TPaddedView(const char* text, size_t n) : std::string_view(text, n) {}
};

class TTextBuffer {
 public:
  // Every buffer has this many bytes allocated past its capacity, which nothing ever holds: a
  // copy from or into a buffer may move whole words past the text's end without a test of the
  // length, which short texts of random lengths would mispredict.
  static constexpr size_t kPadding = 32;

  TTextBuffer() = default;
  explicit TTextBuffer(size_t capacity) { Grow(capacity); }
  ~TTextBuffer() { std::free(FBegin); }
  TTextBuffer(const TTextBuffer&) = delete;
  TTextBuffer& operator=(const TTextBuffer&) = delete;

  size_t size() const { return static_cast<size_t>(FEnd - FBegin); }
  bool empty() const { return FEnd == FBegin; }
  const char* data() const { return FBegin; }
  char* data() { return FBegin; }
  char& operator[](size_t i) { return FBegin[i]; }
  char operator[](size_t i) const { return FBegin[i]; }
  TPaddedView View() const { return {FBegin, size()}; }
  operator std::string_view() const { return View(); }
  std::string str() const { return std::string(View()); }
  char* begin() { return FBegin; }
  char* end() { return FEnd; }
  const char* begin() const { return FBegin; }
  const char* end() const { return FEnd; }
  char back() const { return FEnd[-1]; }
  void clear() { FEnd = FBegin; }
  void swap(TTextBuffer& other) {
    std::swap(FBegin, other.FBegin);
    std::swap(FEnd, other.FEnd);
    std::swap(FLimit, other.FLimit);
  }
  void pop_back() { --FEnd; }
  // Keeps the first n bytes, or adds zero bytes up to n.
  void resize(size_t n) {
    const size_t used = size();
    if (n <= used) {
      FEnd = FBegin + n;
      return;
    }
    std::memset(Extend(n - used), 0, n - used);
  }
  // Removes the bytes [pos, pos + n).
  void erase(size_t pos, size_t n) {
    std::memmove(FBegin + pos, FBegin + pos + n, size() - pos - n);
    FEnd -= n;
  }
  TTextBuffer& assign(std::string_view s) {
    clear();
    return append(s.data(), s.size());
  }

  TTextBuffer& operator+=(char c) {
    if (FEnd == FLimit) Grow(1);
    *FEnd++ = c;
    return *this;
  }
  TTextBuffer& operator+=(std::string_view s) { return append(s.data(), s.size()); }
  TTextBuffer& operator+=(const std::string& s) { return append(s.data(), s.size()); }
  TTextBuffer& operator+=(const char* s) { return append(s, std::strlen(s)); }
  TTextBuffer& append(const char* s, size_t n) {
    if (static_cast<size_t>(FLimit - FEnd) < n) return AppendGrowing(s, n);
    Copy(FEnd, s, n);
    FEnd += n;
    return *this;
  }
  TTextBuffer& append(std::string_view s) { return append(s.data(), s.size()); }
  // count copies of c.
  TTextBuffer& append(size_t count, char c) {
    std::memset(Extend(count), c, count);
    return *this;
  }
  // Characters [pos, pos + n) of s, as std::string::append does.
  TTextBuffer& append(std::string_view s, size_t pos, size_t n = std::string_view::npos) {
    return append(s.substr(pos, n));
  }

  // Appends n bytes left for the caller to fill, and returns where they start.
  char* Extend(size_t n) {
    if (static_cast<size_t>(FLimit - FEnd) < n) Grow(n);
    char* at = FEnd;
    FEnd += n;
    return at;
  }

  // Makes room for n more bytes and returns where they start, without adding them: the caller
  // writes up to n bytes there and then calls Commit with the end of what it wrote.
  char* Room(size_t n) {
    if (static_cast<size_t>(FLimit - FEnd) < n) Grow(n);
    return FEnd;
  }
  void Commit(char* end) { FEnd = end; }
  // The unused room after the text, which the buffer's owner may overwrite freely.
  size_t Spare() const { return static_cast<size_t>(FLimit - FEnd); }

  // Copies n bytes; values are mostly short, and short copies are done inline with at most two
  // overlapping loads and stores instead of a library call.
  static void Copy(char* to, const char* from, size_t n) {
    if (n >= 8) {
      if (n > 16) {
        CopyLong(to, from, n);
        return;
      }
      uint64_t a, b;
      std::memcpy(&a, from, 8);
      std::memcpy(&b, from + n - 8, 8);
      std::memcpy(to, &a, 8);
      std::memcpy(to + n - 8, &b, 8);
    } else if (n >= 4) {
      uint32_t a, b;
      std::memcpy(&a, from, 4);
      std::memcpy(&b, from + n - 4, 4);
      std::memcpy(to, &a, 4);
      std::memcpy(to + n - 4, &b, 4);
    } else if (n != 0) {
      to[0] = from[0];
      to[n / 2] = from[n / 2];
      to[n - 1] = from[n - 1];
    }
  }

  // Copies text held in a text buffer to room in a text buffer (Extend's): up to kPadding bytes
  // are moved as two fixed 16-byte words, reading and writing past the ends into the padding.
  // Both buffers must have storage: a buffer that was created without room and never held text
  // has none.
  static void CopyPadded(char* to, TPaddedView from) { CopyPadded(to, from.data(), from.size()); }
  // Appends text that lies in a text buffer, by CopyPadded.
  TTextBuffer& AppendPadded(TPaddedView from) {
    const size_t n = from.size();
    CopyPadded(Extend(n), from.data(), n);
    return *this;
  }

 private:
  static void CopyPadded(char* to, const char* from, size_t n) {
    if (n > kPadding) {
      CopyLong(to, from, n);
      return;
    }
    // The second word only when the text needs it: a load that overlaps stores just made in
    // another width waits for them to reach the cache.
    char a[16];
    std::memcpy(a, from, 16);
    std::memcpy(to, a, 16);
    if (n > 16) {
      std::memcpy(a, from + 16, 16);
      std::memcpy(to + 16, a, 16);
    }
  }

 public:
  // First position at or after `from` holding c, or npos.
  size_t find(char c, size_t from = 0) const {
    if (from >= size()) return std::string_view::npos;
    const void* at = std::memchr(FBegin + from, c, size() - from);
    return at ? static_cast<size_t>(static_cast<const char*>(at) - FBegin) : std::string_view::npos;
  }

 private:
  // Copies of more than 16 bytes; kept out of line so that the inline copies of short local
  // texts never show the compiler a long copy from them. Up to 32 bytes (an e-mail address)
  // take four overlapping words rather than a library call.
  [[gnu::noinline]] static void CopyLong(char* to, const char* from, size_t n) {
    if (n > 32) {
      std::memcpy(to, from, n);
      return;
    }
    uint64_t a, b, c, d;
    std::memcpy(&a, from, 8);
    std::memcpy(&b, from + 8, 8);
    std::memcpy(&c, from + n - 16, 8);
    std::memcpy(&d, from + n - 8, 8);
    std::memcpy(to, &a, 8);
    std::memcpy(to + 8, &b, 8);
    std::memcpy(to + n - 16, &c, 8);
    std::memcpy(to + n - 8, &d, 8);
  }

  // An append that needs more room; the text may come from this buffer itself.
  TTextBuffer& AppendGrowing(const char* s, size_t n) {
    const bool inside = s >= FBegin && s < FEnd;
    const size_t offset = inside ? static_cast<size_t>(s - FBegin) : 0;
    Grow(n);
    if (inside) s = FBegin + offset;
    std::memcpy(FEnd, s, n);
    FEnd += n;
    return *this;
  }

  // Makes room for at least n more bytes, at least doubling the capacity.
  void Grow(size_t n) {
    const size_t used = size();
    const size_t capacity = static_cast<size_t>(FLimit - FBegin);
    size_t wanted = capacity * 2 > used + n ? capacity * 2 : used + n;
    if (wanted < 64) wanted = 64;
    char* p = static_cast<char*>(std::realloc(FBegin, wanted + kPadding));
    if (!p) throw std::bad_alloc();
    FBegin = p;
    FEnd = p + used;
    FLimit = p + wanted;
  }

  char* FBegin = nullptr;
  char* FEnd = nullptr;
  char* FLimit = nullptr;
};

inline bool TPaddedView::Contains(char c) const {
  static_assert(TTextBuffer::kPadding >= 16, "a lane may start at the text's last byte");
  const char* at = data();
  size_t left = size();
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(c);
  for (; left > 0; at += 16) {
    const __m128i lane = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(lane, wanted)));
    if (left < 16) {
      hits &= (1u << left) - 1;
      left = 0;
    } else {
      left -= 16;
    }
    if (hits != 0) return true;
  }
  return false;
#else
  return std::memchr(at, c, left) != nullptr;
#endif
}

}  // namespace kelvast
