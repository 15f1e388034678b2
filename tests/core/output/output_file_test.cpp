// SPDX-License-Identifier: MIT
// The buffered output file: rows handed to the writing thread reach the file whole and in order,
// and a failed write is reported, naming the file, however the run goes on or ends.
#include "core/output/output_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "core/platform/errors.h"
#include "support/test_support.h"

namespace kelvast {
namespace {

namespace fs = std::filesystem;

// A tiny buffer makes almost every line a hand-over, rows of every length among them.
TEST(OutputFile, ManyHandOversKeepEveryByteInOrder) {
  const test::TempDir dir;
  const fs::path path = dir / "lines.txt";
  std::string expected;
  {
    TOutputFile file(path.string(), 64);
    for (int i = 0; i < 6000; ++i) {
      std::string line = std::to_string(i) + ":" + std::string(static_cast<size_t>(i % 150), 'x');
      if (i % 3 == 0) {
        file.WriteLine(line);
      } else {
        file.RowBuffer() += line;
        file.EndLine();
      }
      expected += line + "\r\n";
    }
    EXPECT_EQ(file.BytesWritten(), expected.size());
    file.Close();
  }
  EXPECT_EQ(test::ReadFileBytes(path), expected);
}

TEST(OutputFile, FailedWriteIsReportedByTheNextHandOverOrClose) {
  const test::TempDir dir;
  const fs::path full = dir / "full.txt";
  fs::create_symlink("/dev/full", full);
  for (const bool closeAtOnce : {false, true}) {
    SCOPED_TRACE(closeAtOnce);
    TOutputFile file(full.string(), 16);
    try {
      if (closeAtOnce) {
        file.Write("one line only");
      } else {
        for (int i = 0; i < 1000; ++i) file.WriteLine("a line that fills the buffer");
      }
      file.Close();
      FAIL() << "expected a write error";
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find(full.string()), std::string::npos) << e.what();
    }
    // The destructor that follows neither throws nor waits for ever.
  }
}

TEST(OutputFile, ClosedByAnErrorKeepsOnlyCompleteLines) {
  // Left without Close, as a run that fails is: the line being built is dropped, also when an
  // earlier line of the buffer holds a line break inside a value.
  const test::TempDir dir;
  const fs::path path = dir / "out";
  {
    TOutputFile file(path.string(), 64);
    for (int i = 0; i < 40; ++i) file.WriteLine("line " + std::to_string(i) + " a\nb");
    file.Write("12 ");
    file.RowBuffer() += "4,";
  }
  const std::string text = test::ReadFileBytes(path);
  EXPECT_EQ(text.substr(text.size() - 7), "9 a\nb\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 40);
}

TEST(OutputFile, ASecondWriterIsRefusedAndTheFirstFileKept) {
  const test::TempDir dir;
  const fs::path path = dir / "out";
  {
    TOutputFile first(path.string());
    first.WriteLine("first");
    first.Flush();
    try {
      TOutputFile second(path.string());
      ADD_FAILURE() << "no error";
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find("another run"), std::string::npos) << e.what();
    }
    first.WriteLine("still first");
    first.Close();
  }
  EXPECT_EQ(test::ReadFileBytes(path), "first\r\nstill first\r\n");
  // Once closed, the file may be written again; devices take any number of writers.
  { TOutputFile again(path.string()); again.Close(); }
  TOutputFile a("/dev/null"), b("/dev/null");
  a.WriteLine("x");
  b.WriteLine("y");
  a.Close();
  b.Close();
}

TEST(OutputFile, WritingAfterCloseIsAnError) {
  const test::TempDir dir;
  TOutputFile file((dir / "closed.txt").string(), 16);
  file.WriteLine("kept");
  file.Close();
  EXPECT_THROW(file.WriteLine("a line after the end"), EFileError);
  EXPECT_EQ(test::ReadFileBytes(dir / "closed.txt"), "kept\r\n");
}

}  // namespace
}  // namespace kelvast
