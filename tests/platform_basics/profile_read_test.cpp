#include <gtest/gtest.h>

#include <string>

#include "scratch_directory.h"
#include "win32/windows.h"

namespace {

using basics_test::ScratchDirectory;
using basics_test::WriteFile;

struct ReadCase {
  const char* name;
  const char* file;
  const char* section;
  const char* key;
  const char* expected;  // nullptr: the default comes back
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsTheValueAsWindowsDoes) {
  ScratchDirectory scratch;
  const std::string path = scratch / "settings.cfg";
  WriteFile(path, GetParam().file);
  char buffer[256];
  const DWORD length =
      GetPrivateProfileStringA(GetParam().section, GetParam().key, "DEFAULT", buffer, sizeof buffer,
                               path.c_str());
  const std::string expected = GetParam().expected ? GetParam().expected : "DEFAULT";
  EXPECT_EQ(std::string(buffer), expected);
  EXPECT_EQ(length, expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileRead,
    ::testing::Values(
        ReadCase{"Plain", "[init]\nDevURL=http://10.0.0.2/\n", "init", "DevURL", "http://10.0.0.2/"},
        ReadCase{"Crlf", "[init]\r\nDevIP=10.0.0.2\r\n", "init", "DevIP", "10.0.0.2"},
        ReadCase{"NoFinalNewline", "[init]\r\nDevIP=10.0.0.2", "init", "DevIP", "10.0.0.2"},
        ReadCase{"NamesIgnoreCase", "[Init]\nCONNNAME=Device\n", "INIT", "connname", "Device"},
        ReadCase{"ValueKeepsItsCase", "[init]\nconnName=My Device\n", "init", "connName",
                 "My Device"},
        ReadCase{"BlanksStripped", "[init]\n \t connName \t= \v My Device \t\n", "init", "connName",
                 "My Device"},
        ReadCase{"SectionNameBlanks", "[ init ]\nk=v\n", "init", "k", "v"},
        ReadCase{"DoubleQuotes", "[s]\nk=\" spaced \"\n", "s", "k", " spaced "},
        ReadCase{"SingleQuotes", "[s]\nk='x'\n", "s", "k", "x"},
        ReadCase{"MismatchedQuotes", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
        ReadCase{"OneQuoteOnly", "[s]\nk=\"\n", "s", "k", "\""},
        ReadCase{"OnlyOuterPair", "[s]\nk=\"\"x\"\"\n", "s", "k", "\"x\""},
        ReadCase{"NoEndOfLineComment", "[s]\nk=v ;x\n", "s", "k", "v ;x"},
        ReadCase{"HashIsText", "[s]\n#k=v\n", "s", "#k", "v"},
        ReadCase{"CommentLine", "[s]\n;k=v\n", "s", "k", nullptr},
        ReadCase{"IndentedComment", "[s]\n  ;k=v\nk=w\n", "s", "k", "w"},
        ReadCase{"BeforeFirstSection", "k=v\n[s]\n", "s", "k", nullptr},
        ReadCase{"TextAfterBracket", "[s] trailing words\nk=v\n", "s", "k", "v"},
        ReadCase{"FirstKeyWins", "[s]\nk=first\nk=second\n", "s", "k", "first"},
        ReadCase{"FirstSectionWins", "[s]\na=1\n[S]\nk=v\n", "s", "k", nullptr},
        ReadCase{"EqualsInValue", "[s]\nurl=http://h/?a=b\n", "s", "url", "http://h/?a=b"},
        ReadCase{"EmptyValue", "[s]\nk=\n", "s", "k", ""},
        ReadCase{"OtherSection", "[a]\nk=v\n[b]\nx=y\n", "b", "k", nullptr},
        ReadCase{"MissingSection", "[a]\nk=v\n", "b", "k", nullptr},
        ReadCase{"MissingKey", "[a]\nk=v\n", "a", "j", nullptr},
        ReadCase{"LineWithoutEquals", "[a]\nk\nk=v\n", "a", "k", "v"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileRead, MissingFileNullDefaultAndLongValues) {
  ScratchDirectory scratch;
  char buffer[256] = "untouched";
  const std::string missing = scratch / "absent.cfg";
  EXPECT_EQ(GetPrivateProfileStringA("init", "DevURL", nullptr, buffer, sizeof buffer,
                                     missing.c_str()),
            0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(GetPrivateProfileStringA("init", "DevURL", "fallback  ", buffer, sizeof buffer,
                                     missing.c_str()),
            8u);
  EXPECT_STREQ(buffer, "fallback");

  // A 300-character value comes back as its first 255 through 256 bytes.
  const std::string path = scratch / "current.cfg";
  const std::string value(300, 'u');
  WriteFile(path, "[init]\r\nDevURL=" + value + "\r\n");
  SetLastError(0);
  EXPECT_EQ(GetPrivateProfileStringA("init", "DevURL", nullptr, buffer, sizeof buffer, path.c_str()),
            255u);
  EXPECT_EQ(GetLastError(), ERROR_MORE_DATA);
  EXPECT_EQ(std::string(buffer), value.substr(0, 255));
}

TEST(ProfileRead, BackslashesSeparateDirectories) {
  ScratchDirectory scratch;
  WriteFile(scratch / "current.cfg", "[init]\nDevIP=10.1.2.3\n");
  const std::string windowsPath = scratch.path().string() + "\\current.cfg";
  char buffer[256];
  GetPrivateProfileStringA("init", "DevIP", nullptr, buffer, sizeof buffer, windowsPath.c_str());
  EXPECT_STREQ(buffer, "10.1.2.3");
}

TEST(ProfileRead, NullNamesListSectionsAndKeys) {
  ScratchDirectory scratch;
  const std::string path = scratch / "list.cfg";
  WriteFile(path, "[init]\nDevURL=u\n;c=x\nDevIP=i\ndevurl=dup\n[Other]\nk=v\n[INIT]\nz=1\n");
  char buffer[64];
  DWORD length = GetPrivateProfileStringA(nullptr, nullptr, nullptr, buffer, sizeof buffer,
                                          path.c_str());
  EXPECT_EQ(std::string(buffer, length + 1), std::string("init\0Other\0\0", 12));
  length = GetPrivateProfileStringA("init", nullptr, nullptr, buffer, sizeof buffer, path.c_str());
  EXPECT_EQ(std::string(buffer, length + 1), std::string("DevURL\0DevIP\0\0", 14));
  // Cut lists still end in two NULs.
  length = GetPrivateProfileStringA("init", nullptr, nullptr, buffer, 10, path.c_str());
  EXPECT_EQ(length, 8u);
  EXPECT_EQ(std::string(buffer, 10), std::string("DevURL\0D\0\0", 10));
}

}  // namespace
