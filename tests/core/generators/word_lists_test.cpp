// SPDX-License-Identifier: MIT
#include "core/generators/word_lists.h"

#include "core/platform/errors.h"
#include "core/platform/text_utils.h"
#include "support/test_support.h"

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kelvast {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const fs::path kSmallDict = fs::path(KELVAST_TEST_DATA) / "dict-small";

// The lists are process-wide: every test starts and ends with them empty.
class WordListsTest : public testing::Test {
 protected:
  void SetUp() override { ClearWordLists(); }
  void TearDown() override { ClearWordLists(); }

  // A copy of the small Dict folder that a test may change.
  static void CopySmallDict(const fs::path& to) {
    for (const auto& entry : fs::directory_iterator(kSmallDict))
      if (entry.path().extension() == ".txt")
        fs::copy_file(entry.path(), to / entry.path().filename());
  }

  static void FillAll(const Lines& lines) {
    for (int i = 0; i < kWordListCount; ++i)
      SetWordList(static_cast<TWordList>(i), lines);
  }
};

TEST_F(WordListsTest, LoadKeepsEveryLineAsWrittenAndAddsNoEntryForAFinalLineBreak) {
  LoadWordLists(kSmallDict);
  struct Case {
    TWordList list;
    std::string_view file;
    Lines lines;
  };
  // Blanks around entries, accented Windows-1252 bytes and letter case stay as in the files;
  // payslong.txt has no final line break, the others end with CR LF.
  const Case cases[] = {
      {TWordList::BoyNames, "BoynamesUSA.txt", {"Jean-Luc", "  Brad  ", "Tom"}},
      {TWordList::GirlNames, "GirlnamesUSA.txt", {"Ann", " Zo\xE9", "Mary-Kate "}},
      {TWordList::FrenchWords, "FrenchWords.txt", {"ch\xE2teau", " MER ", "pont"}},
      {TWordList::EnglishWords, "EnglishWords.txt", {"apple", "  Kiwi ", "banana-split"}},
      {TWordList::LoremText, "Lorem.txt", {"Lorem ipsum dolor sit amet", "consectetur adipiscing"}},
      {TWordList::FrenchTowns, "FrenchTowns.txt", {"PARIS", "  saint-\xC9tienne", "lyon"}},
      {TWordList::WorldTowns, "WorldTowns.txt", {"new YORK", " Tokyo ", "LIMA"}},
      {TWordList::CountryNames, "countries.txt", {"France", " Japan", "Peru"}},
      {TWordList::CountryCodes, "payscourt.txt", {"FR", "JP ", "PE"}},
      {TWordList::FrenchCountryNames, "payslong.txt", {"France", "Japon", "P\xE9rou"}},
      {TWordList::USStateNames, "USAStatesLong.txt", {"Texas", " Ohio ", "Utah"}},
      {TWordList::USStateCodes, "USAStates.txt", {"TX", "OH", "UT"}},
  };
  static_assert(std::size(cases) == kWordListCount);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(WordListFileName(c.list), c.file);
    EXPECT_EQ(WordList(c.list), c.lines);
    EXPECT_EQ(WordCount(c.list), static_cast<int>(c.lines.size()));
  }
}

TEST_F(WordListsTest, LineBreaksAndBytesOfAFile) {
  struct Case {
    std::string name;
    std::string bytes;
    Lines lines;
  };
  const Case cases[] = {
      {"empty file", "", {}},
      {"LF only, no final break", "a\nb", {"a", "b"}},
      {"CR only", "a\rb\r", {"a", "b"}},
      {"empty line kept", "a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"byte-order mark is part of the first entry",
       "\xEF\xBB\xBF"
       "a\r\n",
       {"\xEF\xBB\xBF"
        "a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    CopySmallDict(dir.Path());
    test::WriteFileBytes(dir / "countries.txt", c.bytes);
    LoadWordLists(dir.Path());
    EXPECT_EQ(WordList(TWordList::CountryNames), c.lines);
  }
}

TEST_F(WordListsTest, AFileThatCannotBeOpenedStopsTheLoadAndNamesItsPath) {
  struct Case {
    std::string file;
    TWordList list;
    bool folderInstead;
  };
  const Case cases[] = {
      {"BoynamesUSA.txt", TWordList::BoyNames, false},
      {"Lorem.txt", TWordList::LoremText, false},
      {"USAStates.txt", TWordList::USStateCodes, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    test::TempDir dir;
    CopySmallDict(dir.Path());
    fs::remove(dir / c.file);
    if (c.folderInstead) fs::create_directory(dir / c.file);
    FillAll({"old"});

    try {
      LoadWordLists(dir.Path());
      ADD_FAILURE() << "no error";
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find((dir / c.file).string()), std::string::npos) << e.what();
    }
    // Lists before the failing file hold the new lines; it and the following keep the old ones.
    for (int i = 0; i < kWordListCount; ++i) {
      const auto list = static_cast<TWordList>(i);
      SCOPED_TRACE(WordListFileName(list));
      if (i < static_cast<int>(c.list))
        EXPECT_EQ(
            WordList(list),
            SplitLines(test::ReadFileBytes(kSmallDict / std::string(WordListFileName(list)))));
      else
        EXPECT_EQ(WordList(list), Lines{"old"});
    }
  }
}

TEST_F(WordListsTest, LoremJoinedIsRebuiltByEveryLoadSetAndClear) {
  LoadWordLists(kSmallDict);
  EXPECT_EQ(LoremJoined(), "Lorem ipsum dolor sit amet\r\nconsectetur adipiscing\r\n");

  test::TempDir dir;
  CopySmallDict(dir.Path());
  test::WriteFileBytes(dir / "Lorem.txt", "x\ry");
  LoadWordLists(dir.Path());
  EXPECT_EQ(LoremJoined(), "x\r\ny\r\n");

  SetWordList(TWordList::LoremText, {" a "});
  EXPECT_EQ(LoremJoined(), " a \r\n");

  ClearWordLists();
  EXPECT_EQ(LoremJoined(), "");
}

TEST_F(WordListsTest, GuardLeavesEveryListEmptyOnEveryPath) {
  {
    TWordListsLoaded loaded(kSmallDict);
    EXPECT_EQ(WordCount(TWordList::USStateCodes), 3);
  }
  for (int i = 0; i < kWordListCount; ++i)
    EXPECT_TRUE(WordList(static_cast<TWordList>(i)).empty()) << i;
  EXPECT_EQ(LoremJoined(), "");

  // A failed load clears the lists that it had already replaced and those it had not reached.
  test::TempDir dir;
  CopySmallDict(dir.Path());
  fs::remove(dir / "Lorem.txt");
  FillAll({"old"});
  EXPECT_THROW(TWordListsLoaded loaded(dir.Path()), EFileError);
  for (int i = 0; i < kWordListCount; ++i)
    EXPECT_TRUE(WordList(static_cast<TWordList>(i)).empty()) << i;
}

TEST_F(WordListsTest, RealDictFilesAreSingleByteListsOfOneEntryPerLine) {
  LoadWordLists(KELVAST_DICT_DIR);
  for (int i = 0; i < kWordListCount; ++i) {
    const auto list = static_cast<TWordList>(i);
    SCOPED_TRACE(WordListFileName(list));
    const Lines& lines = WordList(list);
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
      ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
      ASSERT_NE(Trim(line), "");
      // Windows-1252, not UTF-8: an "é" is the one byte E9, never the pair C3 A9.
      ASSERT_EQ(line.find("\xC3\xA9"), std::string::npos) << line;
    }
  }
  for (const TWordList codes : {TWordList::USStateCodes, TWordList::CountryCodes}) {
    for (const std::string& code : WordList(codes)) {
      SCOPED_TRACE(code);
      ASSERT_EQ(code.size(), 2u);
      EXPECT_TRUE(std::isupper(static_cast<unsigned char>(code[0])) &&
                  std::isupper(static_cast<unsigned char>(code[1])));
    }
  }
  EXPECT_EQ(WordCount(TWordList::USStateNames), WordCount(TWordList::USStateCodes));
}

// Names and words hold no typing slips of their sources: no letter three times in a row
// (Harwilll, Annnora), and every name has a vowel.
TEST_F(WordListsTest, RealNamesAndWordsHaveNoTripledLetters) {
  LoadWordLists(KELVAST_DICT_DIR);
  const auto tripled = [](const std::string& entry) {
    for (size_t i = 2; i < entry.size(); ++i) {
      const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(entry[i])));
      if (std::isalpha(static_cast<unsigned char>(c)) &&
          std::tolower(static_cast<unsigned char>(entry[i - 1])) == c &&
          std::tolower(static_cast<unsigned char>(entry[i - 2])) == c)
        return true;
    }
    return false;
  };
  for (const TWordList list : {TWordList::BoyNames, TWordList::GirlNames, TWordList::EnglishWords,
                               TWordList::FrenchWords}) {
    SCOPED_TRACE(WordListFileName(list));
    for (const std::string& entry : WordList(list)) {
      EXPECT_FALSE(tripled(entry)) << entry;
      if (list == TWordList::BoyNames || list == TWordList::GirlNames)
        EXPECT_NE(entry.find_first_of("AEIOUYaeiouy\xE0\xE2\xE9\xE8\xEA\xEB\xEE\xEF\xF4\xFB\xFC"),
                  std::string::npos)
            << entry;
    }
  }
}

}  // namespace
}  // namespace kelvast
