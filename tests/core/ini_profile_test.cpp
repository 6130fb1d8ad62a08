// INI profile engine: reading keys, writing one key without disturbing the rest, refusing
// files that are not text, and saving safely.

#include "files/ini_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <vector>

#include "scratch_folder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

IniDocument ParseOrDie(std::string_view text) {
  std::string error;
  auto document = IniDocument::Parse(text, &error);
  EXPECT_TRUE(document.has_value()) << error;
  return document.value_or(IniDocument());
}

struct GetCase {
  const char* text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

TEST(IniDocumentGet, FindsKeys) {
  const std::string bigText = "[Variablen]\nfg=1k\n\n[Other]\nfg=2k\n";
  const GetCase cases[] = {
      {"[Variablen]\nfg=  1.00k\n", "Variablen", "fg", "1.00k"},
      {"[Variablen]\nfg= \t 1.00k \t\n", "Variablen", "fg", "1.00k"},
      {"[VARIABLEN]\nFG=2k\n", "Variablen", "fg", "2k"},
      {"[variablen]\nfg=2k\n", "VariaBLEN", "FG", "2k"},
      {"  [ Variablen ]  \n  fg  =  2k  \n", "Variablen", "fg", "2k"},
      {"[S]\nformula=a=b=c\n", "S", "formula", "a=b=c"},
      {"[S]\nSchaltung vertauscht=Nein\n", "S", "Schaltung vertauscht", "Nein"},
      {"[S]\nschaltung VERTAUSCHT = Ja\n", "s", "Schaltung vertauscht", "Ja"},
      {"[S]\nempty=\n", "S", "empty", ""},
      {"[S]\nempty=   \n", "S", "empty", ""},
      {"[S]\r\nfg=3k\r\n", "S", "fg", "3k"},
      {"[S]\nfg=3k", "S", "fg", "3k"},
      {"\xEF\xBB\xBF[S]\nfg=3k\n", "S", "fg", "3k"},
      {"[S]\nfg=1\nfg=2\n", "S", "fg", "1"},
      {"[S]\nfg=1\n[S]\nfg=2\n", "S", "fg", "1"},
      // Nothing a damaged or hand-edited file holds is passed over: a second section of the
      // same name, a header without "]", a doubled byte order mark, old Mac line ends.
      {"[S]\nx=1\n[S]\nfg=2\n", "S", "fg", "2"},
      {"[T]\nfg=1\n[S\nfg=2\n", "S", "fg", "2"},
      {"[T]\nfg=1\n[S\nfg=2\n", "T", "fg", "1"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF[S]\nfg=3k\n", "S", "fg", "3k"},
      {"[S]\rfg=3k\rQ=2\r", "S", "Q", "2"},
      {"[S]\nfg=3k\rQ=2\n", "S", "fg", "3k"},
      {bigText.c_str(), "Other", "fg", "2k"},
      {bigText.c_str(), "Variablen", "f", std::nullopt},
      {bigText.c_str(), "Missing", "fg", std::nullopt},
      {"fg=1\n[S]\n", "S", "fg", std::nullopt},
      {"[S]\n;fg=1\n#fg=2\n  ;fg=3\n", "S", "fg", std::nullopt},
      {"[S]\nfg\n", "S", "fg", std::nullopt},
      {"[T]\nfg=1\n[S]\n", "S", "fg", std::nullopt},
      {"", "S", "fg", std::nullopt},
      {"[S]\nfg=\xC3\x84nderung\n", "S", "fg", "\xC3\x84nderung"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseOrDie(c.text).Get(c.section, c.key), c.expected)
        << c.text << " [" << c.section << "] " << c.key;
  }
}

struct SetCase {
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

TEST(IniDocumentSet, KeepsEveryOtherLine) {
  const SetCase cases[] = {
      // Replacing keeps comments, blank lines, other keys and other sections.
      {"; mine\n[A]\nx=1\n\n[Variablen]\n# note\nfg=1k\nQ=2\n\n[B]\ny=2\n", "Variablen", "fg",
       "  2.00k", "; mine\n[A]\nx=1\n\n[Variablen]\n# note\nfg=  2.00k\nQ=2\n\n[B]\ny=2\n"},
      // The key keeps its spelling and the blanks before "=".
      {"[S]\n  FG = 1k\n", "s", "fg", "2k", "[S]\n  FG =2k\n"},
      {"[S]\nfg=a=b\n", "S", "fg", "c=d", "[S]\nfg=c=d\n"},
      {"[S]\nfg=1\nfg=2\n", "S", "fg", "3", "[S]\nfg=3\nfg=2\n"},
      // A new key follows the section's last key, before blank lines and the comment that
      // introduces the next section.
      {"[S]\na=1\n\n; next\n[T]\nb=2\n", "S", "c", "3", "[S]\na=1\nc=3\n\n; next\n[T]\nb=2\n"},
      {"[S]\n\n[T]\n", "S", "c", "3", "[S]\nc=3\n\n[T]\n"},
      {"[S]\na=1\n", "S", "c", "3", "[S]\na=1\nc=3\n"},
      {"[S]\na=1\n\n\n", "S", "c", "3", "[S]\na=1\nc=3\n\n\n"},
      {"[S]\na=1\n[S]\nb=2\n", "S", "c", "3", "[S]\na=1\nc=3\n[S]\nb=2\n"},
      {"[S]\nSchaltung vertauscht=Ja\n", "S", "Schaltung vertauscht", "Nein",
       "[S]\nSchaltung vertauscht=Nein\n"},
      // A new section goes to the end of the file.
      {"", "Variablen", "fg", "  1.00k", "[Variablen]\nfg=  1.00k\n"},
      {"[A]\nx=1\n", "Variablen", "fg", "1", "[A]\nx=1\n[Variablen]\nfg=1\n"},
      {"[A]\nx=1", "Variablen", "fg", "1", "[A]\nx=1\n[Variablen]\nfg=1\n"},
      {"[S]\na=1", "S", "c", "3", "[S]\na=1\nc=3\n"},
      {"[S]\na=1", "S", "a", "2", "[S]\na=2"},
      {"x\n", " S ", " k ", "v", "x\n[S]\nk=v\n"},
      // CRLF files stay CRLF.
      {"[S]\r\na=1\r\n\r\n[T]\r\n", "S", "a", "2", "[S]\r\na=2\r\n\r\n[T]\r\n"},
      {"[S]\r\na=1\r\n\r\n[T]\r\n", "S", "c", "3", "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\n"},
      {"[S]\r\na=1\r\n", "U", "c", "3", "[S]\r\na=1\r\n[U]\r\nc=3\r\n"},
      {"[S]\r\na=1", "U", "c", "3", "[S]\r\na=1\r\n[U]\r\nc=3\r\n"},
      // A last line cut off after its "\r" gets only the "\n" (found by fuzzing).
      {"[S]\r\na=1\r", "U", "c", "3", "[S]\r\na=1\r\n[U]\r\nc=3\r\n"},
      {"\xEF\xBB\xBF[S]\na=1\n", "S", "a", "2", "\xEF\xBB\xBF[S]\na=2\n"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF[S]\na=1\n", "S", "a", "2", "\xEF\xBB\xBF\xEF\xBB\xBF[S]\na=2\n"},
      // Old Mac files stay so; a key under a header without "]" or in a second section is
      // written where it is read.
      {"[S]\ra=1\r", "S", "c", "3", "[S]\ra=1\rc=3\r"},
      {"[S]\ra=1\r", "U", "c", "3", "[S]\ra=1\r[U]\rc=3\r"},
      {"[S\na=1\n", "S", "a", "2", "[S\na=2\n"},
      {"[S]\nx=1\n[T]\n[s]\na=1\n", "S", "a", "2", "[S]\nx=1\n[T]\n[s]\na=2\n"},
      {"[S]\nx=1\n[T]\n[s]\na=1\n", "S", "c", "3", "[S]\nx=1\nc=3\n[T]\n[s]\na=1\n"},
      // What cannot be one line leaves the document alone.
      {"[S]\na=1\n", "S", "a", "2\n[X]", "[S]\na=1\n"},
      {"[S]\na=1\n", "S", "a=b", "2", "[S]\na=1\n"},
      {"[S]\na=1\n", "S]", "a", "2", "[S]\na=1\n"},
      {"[S]\na=1\n", "S", "", "2", "[S]\na=1\n"},
      {"[S]\na=1\n", "", "a", "2", "[S]\na=1\n"},
      {"[S]\na=1\n", "S", ";a", "2", "[S]\na=1\n"},
      {"[S]\na=1\n", "S", "a", "2\r", "[S]\na=1\n"},
  };
  for (const auto& c : cases) {
    IniDocument document = ParseOrDie(c.before);
    document.Set(c.section, c.key, c.value);
    EXPECT_EQ(document.Text(), c.after) << c.before;
    if (std::string(c.after) != c.before) {
      EXPECT_EQ(document.Get(c.section, c.key),
                std::string(c.value).substr(std::string(c.value).find_first_not_of(' ')))
          << c.before;
    }
  }
}

TEST(IniDocumentText, ReproducesTheFile) {
  const char* texts[] = {
      "",
      "\n",
      "[S]",
      "[S]\n",
      "[S]\r\na = 1 \r\n\r\n; c\r\n",
      "[S]\r\na=1\nb=2",
      "\n\n[S]\n\t a=1\t\n",
      "\xEF\xBB\xBF; only a comment\n",
      "[S]\nx=\xFC\xE4\n\f\v\x1A",
  };
  for (const char* text : texts) EXPECT_EQ(ParseOrDie(text).Text(), text) << text;
}

struct RefusedCase {
  std::string text;
  const char* message;
};

TEST(IniDocumentParse, RefusesWhatIsNotText) {
  const std::string longest(65536, 'x');
  const RefusedCase cases[] = {
      {std::string("[S]\na=\0\n", 8), "not a text file (byte 0x00 in line 2)"},
      {std::string("\x01[S]"), "not a text file (byte 0x01 in line 1)"},
      {std::string("[S]\n\n\na=\x1B[0m\n"), "not a text file (byte 0x1B in line 4)"},
      {std::string("[S]\na=\x7F\n"), "not a text file (byte 0x7F in line 2)"},
      {"[S]\n" + longest + "x\n", "line 2 is longer than 65536 characters"},
      {"[S]\n" + longest + "xx", "line 2 is longer than 65536 characters"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(IniDocument::Parse(c.text, &error).has_value()) << c.message;
    EXPECT_EQ(error, c.message);
  }
  // The longest line allowed, with either line end.
  for (const std::string& text :
       {"[S]\na=" + longest.substr(2) + "\n", "[S]\r\na=" + longest.substr(2) + "\r\n",
        "[S]\na=" + longest.substr(2)}) {
    std::string error;
    const auto document = IniDocument::Parse(text, &error);
    ASSERT_TRUE(document.has_value()) << error;
    EXPECT_EQ(document->Get("S", "a"), longest.substr(2));
  }
  EXPECT_FALSE(IniDocument::Parse(std::string(1, '\0'), nullptr).has_value());
}

using test::ReadRaw;
using test::WriteRaw;

class IniFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  std::vector<std::string> Entries() const { return folder_.Entries(); }

  test::ScratchFolder folder_{"morvane_ini_test_"};
  fs::path dir_ = folder_.Root();
};

TEST_F(IniFileTest, MissingFileIsEmptyAndWriteCreatesIt) {
  const std::string path = PathOf("new.ini");
  IniDocument document = ParseOrDie("[S]\na=1\n");
  std::string error;
  ASSERT_TRUE(LoadIniFile(path, document, error));
  EXPECT_EQ(document.Text(), "");
  EXPECT_EQ(ReadProfileString(path, "S", "a", "none"), "none");

  ASSERT_TRUE(WriteProfileString(path, "Variablen", "fg", "  1.00k", error)) << error;
  ASSERT_TRUE(WriteProfileString(path, "Variablen", "Q", "707.10m", error)) << error;
  EXPECT_EQ(ReadRaw(path), "[Variablen]\nfg=  1.00k\nQ=707.10m\n");
  EXPECT_EQ(ReadProfileString(path, "variablen", "FG", "none"), "1.00k");
  EXPECT_EQ(ReadProfileString(path, "Variablen", "f", "none"), "none");
  EXPECT_EQ(ReadProfileString(path, "Other", "fg", "none"), "none");
  EXPECT_EQ(Entries(), std::vector<std::string>{"new.ini"});
}

TEST_F(IniFileTest, WriteKeepsAnotherProgramsFile) {
  const std::string path = PathOf("other.ini");
  WriteRaw(path, "; settings\r\n[Window]\r\nLeft=10\r\n\r\n[Variablen]\r\nfg=5k\r\n");
  std::string error;
  ASSERT_TRUE(WriteProfileString(path, "VARIABLEN", "FG", "  2.00k", error)) << error;
  ASSERT_TRUE(WriteProfileString(path, "Variablen", "Q", "  2.00", error)) << error;
  ASSERT_TRUE(WriteProfileString(path, "New", "x", "1", error)) << error;
  EXPECT_EQ(ReadRaw(path),
            "; settings\r\n[Window]\r\nLeft=10\r\n\r\n[Variablen]\r\nfg=  2.00k\r\nQ=  2.00\r\n"
            "[New]\r\nx=1\r\n");
  EXPECT_EQ(Entries(), std::vector<std::string>{"other.ini"});
}

TEST_F(IniFileTest, RefusedFilesStayAsTheyWere) {
  struct Case {
    const char* name;
    std::string content;
    const char* reason;
  };
  const Case cases[] = {
      {"binary.ini", std::string("[Variablen]\nfg=1\0\x01\x02", 17),
       "not a text file (byte 0x00 in line 2)"},
      {"long.ini", "[Variablen]\n" + std::string(70000, 'a') + "\n",
       "line 2 is longer than 65536 characters"},
  };
  for (const auto& c : cases) {
    const std::string path = PathOf(c.name);
    WriteRaw(path, c.content);
    const std::string expected = "cannot read \"" + path + "\": " + c.reason;

    IniDocument document;
    std::string error;
    EXPECT_FALSE(LoadIniFile(path, document, error));
    EXPECT_EQ(error, expected);
    error.clear();
    EXPECT_FALSE(WriteProfileString(path, "Variablen", "fg", "2", error));
    EXPECT_EQ(error, expected);
    EXPECT_EQ(ReadRaw(path), c.content);
    EXPECT_EQ(ReadProfileString(path, "Variablen", "fg", "fallback"), "fallback");
  }
  EXPECT_EQ(Entries(), (std::vector<std::string>{"binary.ini", "long.ini"}));
}

TEST_F(IniFileTest, PathsThatAreNotFiles) {
  const std::string directory = PathOf("folder.ini");
  fs::create_directory(directory);
  IniDocument document;
  std::string error;
  EXPECT_FALSE(LoadIniFile(directory, document, error));
  EXPECT_EQ(error, "cannot read \"" + directory + "\": it is a directory");
  EXPECT_FALSE(WriteProfileString(directory, "S", "a", "1", error));
  EXPECT_EQ(error, "cannot read \"" + directory + "\": it is a directory");
  EXPECT_FALSE(SaveIniFile(directory, document, error));
  EXPECT_EQ(error, "cannot write \"" + directory + "\": it is a directory");
  EXPECT_EQ(ReadProfileString(directory, "S", "a", "fallback"), "fallback");

  const std::string noFolder = PathOf("missing/design.ini");
  EXPECT_FALSE(WriteProfileString(noFolder, "S", "a", "1", error));
  EXPECT_NE(error.find("cannot write \"" + noFolder + "\""), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(PathOf("missing")));

  EXPECT_FALSE(WriteProfileString(PathOf("bad.ini"), "S", "a=b", "1", error));
  EXPECT_EQ(error, "cannot write to \"" + PathOf("bad.ini") + "\": the key name holds \"=\"");
  EXPECT_FALSE(WriteProfileString(PathOf("bad.ini"), "S", "a", "1\n[T]", error));
  EXPECT_FALSE(fs::exists(PathOf("bad.ini")));
  EXPECT_EQ(Entries(), std::vector<std::string>{"folder.ini"});
}

TEST_F(IniFileTest, SaveKeepsLinkAndPermissions) {
  const std::string target = PathOf("target.ini");
  const std::string link = PathOf("link.ini");
  WriteRaw(target, "[S]\na=1\n");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(target, link);

  std::string error;
  ASSERT_TRUE(WriteProfileString(link, "S", "a", "2", error)) << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadRaw(target), "[S]\na=2\n");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"link.ini", "target.ini"}));
}

}  // namespace
}  // namespace morvane
