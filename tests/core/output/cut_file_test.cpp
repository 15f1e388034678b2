// SPDX-License-Identifier: MIT
// Files cut short: a full file system, a file-size limit or a stop asked for leave a file that
// is the complete run's file up to a whole record, followed by the format's closing lines (and,
// where the format has comments, a count of the records it holds).

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "core/output/generation_run.h"
#include "core/output/output_fixture.h"
#include "core/output/record_blocks.h"
#include "core/platform/errors.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kAsked = 50000;
constexpr const char* kAskedText = "50,000";

struct QuietObserver : TRunObserver {
  bool ConfirmReplace(const std::string&, const std::string&) override { return true; }
};

// Stops after the first block of records.
struct StoppingObserver : QuietObserver {
  bool StopRequested() override { return true; }
};

struct Case {
  const char* Name;
  TOutputMode Mode;
  int Threads;
  TTextEncoding Encoding;
  // A value holding a line break and a character that takes two bytes in UTF-8: line ends
  // inside records must not be taken for record ends, nor bytes in memory for bytes on disk.
  bool AwkwardValue;
};

const Case kCases[] = {
    {"csv", omCsv, 1, teWindows1252, false},
    {"sql", omSqlScript, 1, teWindows1252, false},
    {"xml", omXml, 1, teWindows1252, false},
    {"csv, 3 threads, utf-8, line breaks in values", omCsv, 3, teUtf8, true},
    {"sql, 3 threads, utf-8, line breaks in values", omSqlScript, 3, teUtf8, true},
    {"xml, 3 threads, utf-8", omXml, 3, teUtf8, true},
};

void BuildModel(TGenModel& model, const Case& c) {
  model.SetTableName("people");
  AddCounter(model, "id");
  AddConst(model, "name", c.AwkwardValue ? "Gif\r\nf\xE9r" : "Giffer");
  AddConst(model, "n", "534", etNum);
  model.SetRecNumber(kAsked);
}

TRunOptions OptionsFor(const Case& c) {
  TRunOptions options;
  options.Mode = c.Mode;
  options.DictFolder = KELVAST_DICT_DIR;
  options.Threads = c.Threads;
  options.Encoding = c.Encoding;
  options.FixedTime = 45000.5;
  return options;
}

// Where each record of a file ends: every line end past the header, a record being as many
// lines as its values' line breaks make it.
std::vector<size_t> RecordEnds(const std::string& text, const Case& c, int64_t records) {
  // SQL: six comment lines and BEGIN; XML: declaration, comment, root, metadata with a line per
  // column.
  const size_t header = c.Mode == omSqlScript ? 6 + 1 : c.Mode == omXml ? 7 + 3 : 1;
  const size_t linesPerRecord = c.AwkwardValue && c.Mode != omXml ? 2 : 1;
  std::vector<size_t> lineEnds{0};
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    lineEnds.push_back(at + 2);
  std::vector<size_t> ends;
  for (int64_t r = 0; r <= records && header + r * linesPerRecord < lineEnds.size(); ++r)
    ends.push_back(lineEnds[header + r * linesPerRecord]);
  return ends;  // ends[r]: the end of record r (ends[0]: the end of the header)
}

// Where the closing lines of a cut file begin, and the record count their comment gives.
struct TClosing {
  size_t At = std::string::npos;
  int64_t Records = -1;  // -1: the format has no comment
};

TClosing FindClosing(const std::string& text, TOutputMode mode) {
  TClosing closing;
  if (mode == omCsv) {
    closing.At = text.size();
    return closing;
  }
  // A script's closing lines begin with the COMMIT of its transaction.
  const std::string opening =
      mode == omSqlScript ? "COMMIT;\r\n/* " + std::string(45, '-') + " */\r\n" : "<!-- ";
  closing.At = text.rfind(opening);
  const std::string count = std::string(R"(([0-9,]+) of )") + kAskedText +
                            " records: the run (ended by an error|was stopped)";
  const std::regex note(mode == omSqlScript ? R"(/\* )" + count + R"( \*/\r\n$)"
                                            : "<!-- " + count + " -->\r\n</RECORDS>\r\n$");
  std::smatch m;
  const std::string tail = closing.At == std::string::npos ? "" : text.substr(closing.At);
  if (closing.At != std::string::npos && std::regex_search(tail, m, note)) {
    std::string digits = m[1];
    std::erase(digits, ',');
    closing.Records = std::stoll(digits);
  }
  return closing;
}

// The cut file is the full run's file up to the end of a record, then the closing lines, whose
// comment counts exactly the records before them. Returns the records kept.
int64_t ExpectWholeRecordsThenClosing(const std::string& cut, const std::string& full,
                                      const Case& c) {
  const TClosing closing = FindClosing(cut, c.Mode);
  EXPECT_NE(closing.At, std::string::npos) << "no closing lines";
  if (closing.At == std::string::npos) return -1;
  if (c.Mode != omCsv) EXPECT_GE(closing.Records, 0) << "no count in the closing comment";
  EXPECT_EQ(cut.substr(0, closing.At), full.substr(0, closing.At)) << "not the run's records";
  const std::vector<size_t> ends = RecordEnds(full, c, kAsked);
  const auto record = std::find(ends.begin(), ends.end(), closing.At);
  EXPECT_NE(record, ends.end()) << "the closing lines do not follow a whole record";
  const int64_t kept = record - ends.begin();
  if (c.Mode != omCsv) EXPECT_EQ(closing.Records, kept);
  return kept;
}

std::string FullFile(const Case& c, const fs::path& dir) {
  TGenModel model;
  BuildModel(model, c);
  model.SetSQLFile((dir / "full").string());
  QuietObserver observer;
  const TRunResult result = RunGeneration(model, OptionsFor(c), observer);
  return ReadFileBytes(result.OutputPath);
}

// A small file system of its own; empty when mounting is not permitted.
class TTinyFileSystem {
 public:
  explicit TTinyFileSystem(const fs::path& where) : FWhere(where) {
    fs::create_directories(where);
    FMounted = ::mount("tmpfs", where.c_str(), "tmpfs", 0, "size=64k") == 0;
  }
  ~TTinyFileSystem() {
    if (FMounted) ::umount2(FWhere.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return FMounted; }

 private:
  fs::path FWhere;
  bool FMounted = false;
};

TEST(CutFile, AFullFileSystemLeavesWholeRecordsAndTheClosingLines) {
  TempDir dir;
  TTinyFileSystem tiny(dir / "tiny");
  if (!tiny.Mounted()) GTEST_SKIP() << "mounting a tmpfs is not permitted here";
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.Name);
    const std::string full = FullFile(c, dir.Path());
    TGenModel model;
    BuildModel(model, c);
    model.SetSQLFile((dir / "tiny" / "cut").string());
    QuietObserver observer;
    try {
      RunGeneration(model, OptionsFor(c), observer);
      ADD_FAILURE() << "the run fit in 64 KB";
    } catch (const EFileError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("No space left on device"), std::string::npos) << message;
      EXPECT_NE(message.find("cut back to its last complete record"), std::string::npos)
          << message;
      // CSV has no closing lines to mention.
      EXPECT_EQ(message.find("followed by its closing lines") != std::string::npos,
                c.Mode != omCsv)
          << message;
    }
    const fs::path path = OutputPathFor(model.SQLFile(), c.Mode);
    const std::string cut = ReadFileBytes(path);
    const int64_t kept = ExpectWholeRecordsThenClosing(cut, full, c);
    EXPECT_GT(kept, 100);  // only what the closing lines need was given up
    fs::remove(path);
  }
}

// The run in a child process under a file-size limit, with SIGXFSZ ignored as the programs do;
// the child's status says whether the run raised the write error with the cut in its message.
int RunUnderSizeLimit(const Case& c, const fs::path& base, rlim_t limit) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit fsize{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &fsize);
    int status = 3;
    try {
      TGenModel model;
      BuildModel(model, c);
      model.SetSQLFile(base.string());
      QuietObserver observer;
      RunGeneration(model, OptionsFor(c), observer);
      status = 1;
    } catch (const EFileError& e) {
      const std::string message = e.what();
      status = message.find("File too large") != std::string::npos &&
                       message.find("cut back to its last complete record") !=
                           std::string::npos
                   ? 0
                   : 2;
    } catch (...) {
    }
    ::_exit(status);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(CutFile, AFileSizeLimitLeavesWholeRecordsAndTheClosingLines) {
  TempDir dir;
  // Limits that fall inside a record, far and near the start; the smallest leaves room for the
  // header and the closing lines only after most records are dropped.
  const rlim_t limits[] = {100003, 1201};
  for (const Case& c : kCases) {
    const std::string full = FullFile(c, dir.Path());
    for (const rlim_t limit : limits) {
      SCOPED_TRACE(std::string(c.Name) + ", limit " + std::to_string(limit));
      ASSERT_EQ(RunUnderSizeLimit(c, dir / "cut", limit), 0);
      const fs::path path = OutputPathFor((dir / "cut").string(), c.Mode);
      const std::string cut = ReadFileBytes(path);
      EXPECT_LE(cut.size(), limit);
      const int64_t kept = ExpectWholeRecordsThenClosing(cut, full, c);
      EXPECT_GT(kept, 0);
      fs::remove(path);
    }
  }
}

TEST(CutFile, AStoppedRunEndsWithTheClosingLinesAndItsCount) {
  TempDir dir;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.Name);
    const std::string full = FullFile(c, dir.Path());
    TGenModel model;
    BuildModel(model, c);
    model.SetSQLFile((dir / "stopped").string());
    StoppingObserver observer;
    const TRunResult result = RunGeneration(model, OptionsFor(c), observer);
    EXPECT_EQ(result.Outcome, roInterrupted);
    const std::string cut = ReadFileBytes(result.OutputPath);
    const int64_t kept = ExpectWholeRecordsThenClosing(cut, full, c);
    EXPECT_EQ(kept, result.Records);
    if (c.Mode != omCsv)
      EXPECT_NE(cut.find("records: the run was stopped"), std::string::npos);
  }
}

TEST(CutFile, ACompleteRunHasNoCountLine) {
  TempDir dir;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.Name);
    const std::string full = FullFile(c, dir.Path());
    EXPECT_EQ(full.find(std::string(" of ") + kAskedText + " records"), std::string::npos);
    EXPECT_EQ(RecordEnds(full, c, kAsked).size(), static_cast<size_t>(kAsked) + 1);
  }
}

}  // namespace
}  // namespace kelvast::test
