// SPDX-License-Identifier: MIT
#pragma once
// Where a writer builds its rows: a buffer of whole lines, each ended by the CR LF that ends
// every line of our text files. A run's file (TOutputFile) hands full buffers to its writing
// thread; a block sink keeps one block of rows in memory for a worker of a run on several
// threads, whose blocks the run then appends to the file in order.
//
//   TTextBuffer& row = sink.RowBuffer();   // append one record's text
//   sink.EndLine();

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/platform/text_buffer.h"

namespace kelvast {

class TRowSink {
 public:
  TRowSink(size_t capacity, size_t fullAt) : FBuffer(capacity), FFullAt(fullAt) {}
  virtual ~TRowSink() = default;
  TRowSink(const TRowSink&) = delete;
  TRowSink& operator=(const TRowSink&) = delete;

  // The text of the line being built; append to it, then call EndLine.
  TTextBuffer& RowBuffer() { return FBuffer; }
  // Ends the line with CR LF. A line is a record (or a line of the format's own): its end is
  // kept, so that a file cut short can end on a whole record even when values hold line breaks.
  void EndLine() {
    FBuffer.append("\r\n", 2);
    FLineEnd = FBuffer.size();
    FEnds.push_back(FLineEnd);
    // The rows ahead go to memory that was last written long ago: ask for it early.
    __builtin_prefetch(FBuffer.data() + FBuffer.size() + 1024, 1);
    __builtin_prefetch(FBuffer.data() + FBuffer.size() + 1088, 1);
    if (FBuffer.size() >= FFullAt) Full();
  }
  // Appends to the line being built.
  void Write(std::string_view bytes) { FBuffer += bytes; }
  void WriteLine(std::string_view line) {
    FBuffer += line;
    EndLine();
  }

 protected:
  // The buffer has reached the size given at construction, at a line end.
  virtual void Full() {}

  // Empties the buffer of its lines and the line being built.
  void ClearLines() {
    FBuffer.clear();
    FLineEnd = 0;
    FEnds.clear();
  }

  TTextBuffer FBuffer;
  size_t FLineEnd = 0;       // the end of the buffer's last complete line
  std::vector<size_t> FEnds;  // the end of every complete line in the buffer, in order
  size_t FFullAt;
};

// One block of rows in memory; it never fills.
class TBlockSink final : public TRowSink {
 public:
  TBlockSink() : TRowSink(1 << 16, SIZE_MAX) {}

  // The complete lines written since the last Clear.
  std::string_view Lines() const { return {FBuffer.data(), FLineEnd}; }
  void Clear() { ClearLines(); }
  // Exchanges the block's complete lines and their ends for other's storage, which must hold no
  // text: other gets the lines (a line left incomplete by an error is dropped), the block no
  // lines.
  void SwapLines(TTextBuffer& other, std::vector<size_t>& otherEnds) {
    FBuffer.resize(FLineEnd);
    FBuffer.swap(other);
    FEnds.swap(otherEnds);
    Clear();
  }
};

// Where a run's rows go, in order: a file, or a table through a direct insert. The rows come as
// lines built in the stream's own buffer (RowBuffer, EndLine) or as whole blocks of lines made on
// other threads.
class TRowStream : public TRowSink {
 public:
  using TRowSink::TRowSink;
  // Appends a block's complete lines; the block comes back empty.
  virtual void WriteLines(TBlockSink& block) = 0;
  // Finishes the stream: everything is written out. Raises the error of the stream's writing.
  virtual void Close() = 0;
};

}  // namespace kelvast
