// SPDX-License-Identifier: MIT
// Whole-file reads and saves: only regular files of a sane size are read, and a save replaces
// the real target of a link, keeps its permissions and never writes onto a device.

#include "core/platform/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/files/model_file.h"
#include "core/model/gen_model.h"
#include "core/platform/errors.h"
#include "support/test_support.h"

namespace kelvast {
namespace {

namespace fs = std::filesystem;

TEST(FileIo, OnlyRegularFilesOfASaneSizeAreRead) {
  const test::TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  // A sparse file just over the cap costs no disk.
  { std::FILE* f = std::fopen((dir / "big.model").c_str(), "wb"); std::fclose(f); }
  fs::resize_file(dir / "big.model", kMaxReadBytes + 1);
  const struct {
    fs::path path;
    const char* message;
  } cases[] = {
      {dir / "fifo", "not a regular file"},
      {"/dev/zero", "not a regular file"},
      {dir.Path(), "not a regular file"},
      {dir / "big.model", "too large"},
      {dir / "missing.model", "Cannot open"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    // Through the model reader too, as a user would give the file.
    for (int through = 0; through < 2; ++through) {
      try {
        if (through == 0) (void)ReadWholeFile(c.path);
        else (void)LoadModelFile(c.path);
        ADD_FAILURE() << "no error";
      } catch (const EKelvastError& e) {
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      }
    }
  }
  test::WriteFileBytes(dir / "small", "abc");
  EXPECT_EQ(ReadWholeFile(dir / "small"), "abc");
  EXPECT_THROW(ReadWholeFile(dir / "small", 2), EFileError);
}

TEST(FileIo, SavingReplacesALinksTargetAndKeepsItsPermissions) {
  const test::TempDir dir;
  fs::create_directory(dir / "real");
  test::WriteFileBytes(dir / "real" / "m.json", "old");
  ASSERT_EQ(::chmod((dir / "real" / "m.json").c_str(), 0640), 0);
  fs::create_symlink("real/m.json", dir / "link.json");

  WriteWholeFile(dir / "link.json", "new");
  EXPECT_TRUE(fs::is_symlink(dir / "link.json"));
  EXPECT_EQ(test::ReadFileBytes(dir / "real" / "m.json"), "new");
  struct stat info {};
  ASSERT_EQ(::stat((dir / "real" / "m.json").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  // Nothing is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 1);

  // A link that points nowhere yet creates its target.
  fs::create_symlink("real/fresh.json", dir / "dangling.json");
  WriteWholeFile(dir / "dangling.json", "fresh");
  EXPECT_EQ(test::ReadFileBytes(dir / "real" / "fresh.json"), "fresh");
}

TEST(FileIo, SavingOntoADeviceOrIntoAMissingFolderFailsAndKeepsTheOldFile) {
  const test::TempDir dir;
  fs::create_symlink("/dev/null", dir / "null.model");
  EXPECT_THROW(WriteWholeFile("/dev/null", "x"), EFileError);
  EXPECT_THROW(WriteWholeFile(dir / "null.model", "x"), EFileError);
  EXPECT_THROW(WriteWholeFile(dir / "missing" / "m.model", "x"), EFileError);

  // A folder where nothing can be created: the old file stays whole.
  fs::create_directory(dir / "ro");
  test::WriteFileBytes(dir / "ro" / "m.model", "old");
  ASSERT_EQ(::chmod((dir / "ro").c_str(), 0500), 0);
  if (::access((dir / "ro").c_str(), W_OK) != 0) {  // root may write anywhere
    EXPECT_THROW(WriteWholeFile(dir / "ro" / "m.model", "new"), EFileError);
    EXPECT_EQ(test::ReadFileBytes(dir / "ro" / "m.model"), "old");
  }
  ::chmod((dir / "ro").c_str(), 0700);

  // A write that runs out of room (a file-size limit stands in for a full disk) keeps the old
  // file whole and leaves no temporary file behind.
  test::WriteFileBytes(dir / "ro" / "big.json", "old");
  const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ::setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(WriteWholeFile(dir / "ro" / "big.json", std::string(5000, 'x')), EFileError);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousSignal);
  EXPECT_EQ(test::ReadFileBytes(dir / "ro" / "big.json"), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "ro"), fs::directory_iterator()), 2);
}

// A private file is never readable by others: new ones are made 0600, a replaced one loses its
// group's and others' bits (its owner's stay), whatever the umask; a usual one follows the
// umask or keeps the replaced file's mode.
TEST(FileIo, PrivateFilesAreTheOwnersOnly) {
  const test::TempDir dir;
  const mode_t savedMask = ::umask(022);
  const struct {
    const char* name;
    TFileAccess access;
    int before;  // the replaced file's mode; -1: no file yet
    unsigned after;
  } cases[] = {
      {"new private", TFileAccess::Private, -1, 0600},
      {"private over 0644", TFileAccess::Private, 0644, 0600},
      {"private over 0775", TFileAccess::Private, 0775, 0700},
      {"private over 0400", TFileAccess::Private, 0400, 0400},
      {"new usual", TFileAccess::Usual, -1, 0644},
      {"usual over 0604", TFileAccess::Usual, 0604, 0604},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = dir / c.name;
    if (c.before >= 0) {
      test::WriteFileBytes(file, "old");
      ASSERT_EQ(::chmod(file.c_str(), static_cast<mode_t>(c.before)), 0);
    }
    WriteWholeFile(file, "PWD=secret", c.access);
    EXPECT_EQ(test::FileMode(file), c.after);
    EXPECT_EQ(test::ReadFileBytes(file), "PWD=secret");
  }
  ::umask(savedMask);
}

// A file another library writes: made 0600 when missing, tightened when looser; a device is
// left as it is.
TEST(FileIo, MakeFilePrivateCreatesOrTightens) {
  const test::TempDir dir;
  MakeFilePrivate(dir / "new.ini");
  EXPECT_EQ(test::FileMode(dir / "new.ini"), 0600u);
  EXPECT_EQ(test::ReadFileBytes(dir / "new.ini"), "");
  test::WriteFileBytes(dir / "old.ini", "[FMain]\n");
  ASSERT_EQ(::chmod((dir / "old.ini").c_str(), 0664), 0);
  MakeFilePrivate(dir / "old.ini");
  EXPECT_EQ(test::FileMode(dir / "old.ini"), 0600u);
  EXPECT_EQ(test::ReadFileBytes(dir / "old.ini"), "[FMain]\n");
  EXPECT_NO_THROW(MakeFilePrivate("/dev/null"));
  EXPECT_EQ(test::FileMode("/dev/null") & 0666, 0666u);
  EXPECT_THROW(MakeFilePrivate(dir / "missing" / "x.ini"), EFileError);
}

TEST(FileIo, AppendAddsToTheEndAndCreatesWhenMissing) {
  const test::TempDir dir;
  AppendToFile(dir / "log", "one\n");
  AppendToFile(dir / "log", "two\n");
  EXPECT_EQ(test::ReadFileBytes(dir / "log"), "one\ntwo\n");
  fs::create_directory(dir / "folder");
  EXPECT_THROW(AppendToFile(dir / "folder", "x"), EFileError);
}

}  // namespace
}  // namespace kelvast
