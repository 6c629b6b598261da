#include "platform/win/Profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/win/Folders.h"

namespace {

namespace fs = std::filesystem;

// Gives every test its own folder as $WINDIR and puts the environment back afterwards.
class ProfileFiles : public testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      if (const char* value = std::getenv(kNames[i])) saved_[i] = value;
    }
    std::string pattern = (fs::temp_directory_path() / "profile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    setenv("WINDIR", folder_.c_str(), 1);
  }

  void TearDown() override {
    for (int i = 0; i < 3; ++i) {
      saved_[i] ? setenv(kNames[i], saved_[i]->c_str(), 1) : unsetenv(kNames[i]);
    }
    fs::remove_all(folder_);
  }

  std::string Write(const std::string& name, const std::string& content) {
    std::ofstream(folder_ + "/" + name, std::ios::binary) << content;
    return folder_ + "/" + name;
  }

  static constexpr const char* kNames[3] = {"WINDIR", "XDG_CONFIG_HOME", "HOME"};
  std::optional<std::string> saved_[3];
  std::string folder_;
};

TEST_F(ProfileFiles, WindowsFolderFallsBackFromWindirToConfigFolders) {
  setenv("WINDIR", "/opt/win/", 1);
  setenv("XDG_CONFIG_HOME", "/xdg", 1);
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(WindowsFolder(), "/opt/win");
  setenv("WINDIR", "", 1);
  EXPECT_EQ(WindowsFolder(), "/xdg/markedit");
  unsetenv("WINDIR");
  setenv("XDG_CONFIG_HOME", "", 1);
  EXPECT_EQ(WindowsFolder(), "/home/u/.config/markedit");
}

TEST_F(ProfileFiles, ProfilePathPlacesBareNamesInWindowsFolder) {
  EXPECT_EQ(ProfilePath("mark.ini"), folder_ + "/mark.ini");
  EXPECT_EQ(ProfilePath("conf/mark.ini"), "conf/mark.ini");
}

struct Lookup {
  const char* name;
  std::string content;
  const char* section;
  const char* key;
  std::string expected;
};

void PrintTo(const Lookup& l, std::ostream* os) { *os << l.name; }

class ProfileLookup : public ProfileFiles, public testing::WithParamInterface<Lookup> {};

TEST_P(ProfileLookup, FindsValueOrDefault) {
  const Lookup& l = GetParam();
  Write("mark.ini", l.content);
  EXPECT_EQ(GetPrivateProfileString(l.section, l.key, "<default>", "mark.ini"), l.expected);
}

const std::string kTavrix = "[tavrix]\ndatapath=/home/x/data\n";

INSTANTIATE_TEST_SUITE_P(
    Profile, ProfileLookup,
    testing::Values(
        Lookup{"Plain", kTavrix, "tavrix", "datapath", "/home/x/data"},
        Lookup{"IgnoresCase", "[Tavrix]\nDataPath=/d\n", "TAVRIX", "datapath", "/d"},
        Lookup{"MissingKey", kTavrix, "tavrix", "font", "<default>"},
        Lookup{"MissingSection", kTavrix, "other", "datapath", "<default>"},
        Lookup{"KeyInOtherSection", "[a]\nk=1\n[b]\nj=2\n", "b", "k", "<default>"},
        Lookup{"KeyBeforeSections", "k=1\n[a]\n", "a", "k", "<default>"},
        Lookup{"Blanks", "  [ a ]  \n\t k \t=  v w \t\n", "a", "k", "v w"},
        Lookup{"DoubleQuotes", "[a]\nk= \" v \" \n", "a", "k", " v "},
        Lookup{"SingleQuotes", "[a]\nk='v'\n", "a", "k", "v"},
        Lookup{"MismatchedQuotes", "[a]\nk=\"v'\n", "a", "k", "\"v'"},
        Lookup{"LoneQuote", "[a]\nk=\"\n", "a", "k", "\""},
        Lookup{"EmptyValue", "[a]\nk=\n", "a", "k", ""},
        Lookup{"EqualsAndSemicolonInValue", "[a]\nk=x=y;z\n", "a", "k", "x=y;z"},
        Lookup{"Comments", "[a]\n;k=1\n  ; k=2\nk=3\n", "a", "k", "3"},
        Lookup{"LineWithoutEquals", "[a]\nk\nk=1\n", "a", "k", "1"},
        Lookup{"CrLf", "[a]\r\nk=v\r\n", "a", "k", "v"},
        Lookup{"Bom", "\xEF\xBB\xBF[a]\nk=v", "a", "k", "v"},
        Lookup{"FirstKeyWins", "[a]\nk=1\nK=2\n", "a", "k", "1"},
        Lookup{"FirstSectionWins", "[a]\nk=1\n[A]\nk=2\n", "a", "k", "1"},
        Lookup{"LaterSectionIgnored", "[a]\nj=1\n[b]\n[a]\nk=2\n", "a", "k", "<default>"},
        Lookup{"Cp950Value", "[a]\nk=\xA5\xBF\xE1\x4D\n", "a", "k", "正嘜"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileFiles, UnreadableFilesGiveDefault) {
  EXPECT_EQ(GetPrivateProfileString("a", "k", "d", "missing.ini"), "d");
  EXPECT_EQ(GetPrivateProfileString("a", "k", "d", folder_), "d");  // a folder
  EXPECT_EQ(GetPrivateProfileString("a", "k", "d", "/nonexistent/dir/mark.ini"), "d");
}

TEST_F(ProfileFiles, PathWithFolderIsReadAsGiven) {
  const std::string path = Write("mark.ini", kTavrix);
  setenv("WINDIR", "/nonexistent", 1);
  EXPECT_EQ(GetPrivateProfileString("tavrix", "datapath", "", path), "/home/x/data");
}

TEST_F(ProfileFiles, CreateDirMakesOneLevelOnly) {
  const std::string child = folder_ + "/child";
  EXPECT_FALSE(DirectoryExists(child));
  EXPECT_TRUE(CreateDir(child));
  EXPECT_TRUE(DirectoryExists(child));
  EXPECT_FALSE(CreateDir(child));
  EXPECT_FALSE(CreateDir(folder_ + "/a/b"));
  EXPECT_FALSE(DirectoryExists(folder_ + "/a"));
  EXPECT_FALSE(DirectoryExists(Write("plain", "x")));
}

// A value written keeps every other byte of the file, Big5 text included: the key's line is
// replaced in the section readers see, added at the end of that section, or in a new section.
TEST_F(ProfileFiles, AWrittenValueKeepsTheRestOfTheFileByteForByte) {
  const std::string big5 = "\xAE\xE6\xC0\x59";  // 嘜頭 in code page 950
  const std::string path = Write("win.ini", "[tavrix]\r\ndatapath=" + big5 + "\r\n\r\n[markedit]\r\n; width\r\n"
                                            "OutputWidthMm = 150\r\n[markedit]\r\nOutputWidthMm=90\r\n");
  auto read = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  ASSERT_TRUE(WritePrivateProfileString("MarkEdit", "outputwidthmm", "200", "win.ini"));
  EXPECT_EQ(read(), "[tavrix]\r\ndatapath=" + big5 + "\r\n\r\n[markedit]\r\n; width\r\noutputwidthmm=200\r\n"
                    "[markedit]\r\nOutputWidthMm=90\r\n");
  EXPECT_EQ(GetPrivateProfileString("markedit", "OutputWidthMm", "", "win.ini"), "200");
  ASSERT_TRUE(WritePrivateProfileString("tavrix", "dpi", "300", "win.ini"));
  const std::string start = "[tavrix]\r\ndatapath=" + big5 + "\r\ndpi=300\r\n\r\n[markedit]";
  EXPECT_EQ(read().substr(0, start.size()), start);
  ASSERT_TRUE(WritePrivateProfileString("new", "a", "1", "win.ini"));
  EXPECT_EQ(read().substr(read().size() - 12), "[new]\r\na=1\r\n");
  EXPECT_FALSE(WritePrivateProfileString("new", "a", "two\nlines", "win.ini"));
  EXPECT_FALSE(WritePrivateProfileString("new", "a", "1", folder_ + "/no/such/folder/x.ini"));
}

}  // namespace
