// The direct insert's temporary file: statements come back whole, line breaks and all, and a
// damaged file is refused rather than half-executed.

#include <gtest/gtest.h>

#include <unistd.h>

#include "core/output/database_writer.h"
#include "core/output/output_file.h"
#include "core/platform/errors.h"
#include "support/test_support.h"

namespace kelvast::test {
namespace {

TEST(StatementFile, StatementsComeBackWholeAndInOrder) {
  TempDir dir;
  const std::vector<std::string> statements = {
      "INSERT INTO t (a) VALUES ('one');",
      "INSERT INTO t (a) VALUES ('two\r\nlines\r\n');",
      "INSERT INTO t (a) VALUES ('lone\nfeed and lone\rreturn');",
      "",
      std::string(100000, 'x'),
  };
  {
    TOutputFile file((dir / "s.TEMP").string());
    for (const auto& s : statements)
      WriteStatementRecord(file, s);
  }
  EXPECT_EQ(ReadFileBytes(dir / "s.TEMP").substr(0, 39),
            "33 INSERT INTO t (a) VALUES ('one');\r\n4");
  TStatementReader reader(dir / "s.TEMP");
  std::string s;
  for (const auto& expected : statements) {
    ASSERT_TRUE(reader.Next(s));
    EXPECT_EQ(s, expected);
  }
  EXPECT_FALSE(reader.Next(s));
}

TEST(StatementFile, DamagedFilesAreRefused) {
  const char* damaged[] = {
      "12 INSERT INTO",          // shorter than its count
      "5 abcde",                 // no line end
      "5 abcdeXY",               // wrong line end
      "x abc\r\n",               // no count
      "3abc\r\n",                // no blank after the count
      "99999999999999999999 a",  // an absurd count
  };
  TempDir dir;
  for (const char* bytes : damaged) {
    SCOPED_TRACE(bytes);
    WriteFileBytes(dir / "d.TEMP", bytes);
    TStatementReader reader(dir / "d.TEMP");
    std::string s;
    EXPECT_THROW(reader.Next(s), EFormatError);
  }
  EXPECT_THROW(TStatementReader(dir / "missing.TEMP"), EFileError);
}

TEST(StatementFile, TempFilesAreNewAndBesideTheExecutableWhenWritable) {
  const auto exe = std::filesystem::read_symlink("/proc/self/exe");
  ASSERT_EQ(::access(exe.parent_path().c_str(), W_OK), 0) << "the build folder is writable";
  // Every run gets a file of its own.
  const std::filesystem::path a = NewDatabaseTempFile(), b = NewDatabaseTempFile();
  EXPECT_NE(a, b);
  for (const auto& path : {a, b}) {
    EXPECT_EQ(path.parent_path(), exe.parent_path());
    EXPECT_EQ(path.filename().string().rfind(exe.filename().string() + ".", 0), 0u) << path;
    EXPECT_EQ(path.extension(), ".TEMP");
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    std::filesystem::remove(path);
  }
  EXPECT_EQ(RollbackQuestion(3),
            "3 errors has been detected. Cancel data insert (rollback transaction) ?");
}

}  // namespace
}  // namespace kelvast::test
