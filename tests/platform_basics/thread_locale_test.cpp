#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "locale/locale_to_lcid.h"
#include "win32/windows.h"

namespace {

using platform::real::LcidForLocaleName;

struct LocaleCase {
  const char* name;
  LCID expected;
};

class LocaleNames : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleNames, MapToTheWindowsIdentifier) {
  EXPECT_EQ(LcidForLocaleName(GetParam().name), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LocaleNames,
    ::testing::Values(
        LocaleCase{"", 0x0409}, LocaleCase{"C", 0x0409}, LocaleCase{"POSIX", 0x0409},
        LocaleCase{"C.UTF-8", 0x0409}, LocaleCase{"en_US", 0x0409},
        LocaleCase{"en_US.UTF-8", 0x0409}, LocaleCase{"en_GB.ISO-8859-1", 0x0809},
        LocaleCase{"en_AU", 0x0C09}, LocaleCase{"en_CA.utf8", 0x1009},
        LocaleCase{"de_DE.UTF-8@euro", 0x0407}, LocaleCase{"de_CH", 0x0807},
        LocaleCase{"de_AT", 0x0C07}, LocaleCase{"fr_FR", 0x040C}, LocaleCase{"fr_BE", 0x080C},
        LocaleCase{"fr_CA", 0x0C0C}, LocaleCase{"es_ES", 0x0C0A}, LocaleCase{"es_MX", 0x080A},
        LocaleCase{"it_IT", 0x0410}, LocaleCase{"nl_NL", 0x0413}, LocaleCase{"nl_BE", 0x0813},
        LocaleCase{"ja_JP.eucJP", 0x0411}, LocaleCase{"zh_CN.GB18030", 0x0804},
        LocaleCase{"zh_TW.Big5", 0x0404}, LocaleCase{"ko_KR", 0x0412},
        LocaleCase{"pt_BR", 0x0416}, LocaleCase{"pt_PT", 0x0816}, LocaleCase{"ru_RU", 0x0419},
        LocaleCase{"sv_SE", 0x041D}, LocaleCase{"pl_PL", 0x0415}, LocaleCase{"da_DK", 0x0406},
        LocaleCase{"fi_FI", 0x040B}, LocaleCase{"nb_NO", 0x0414}, LocaleCase{"cs_CZ", 0x0405},
        LocaleCase{"el_GR", 0x0408}, LocaleCase{"hu_HU", 0x040E}, LocaleCase{"tr_TR", 0x041F},
        // A known language in a territory the table lacks: its default sublanguage.
        LocaleCase{"en_IE.UTF-8", 0x0409}, LocaleCase{"en_NZ", 0x0409},
        LocaleCase{"de_LU", 0x0407}, LocaleCase{"fr_CH", 0x040C}, LocaleCase{"es_AR", 0x040A},
        LocaleCase{"de", 0x0407}, LocaleCase{"sv@euro", 0x041D},
        // A language we do not know is neutral, whatever its territory.
        LocaleCase{"xx_US", 0x0000}, LocaleCase{"eo", 0x0000}, LocaleCase{"cy_GB", 0x0000}));

// Saves the three variables and puts them back, so a test may change them.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 3; ++i) {
      const char* value = std::getenv(kNames[i]);
      saved_[i] = value ? std::optional<std::string>(value) : std::nullopt;
    }
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) Set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
  }
  static void Set(const char* name, const char* value) {
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  static void SetAll(const char* all, const char* messages, const char* lang) {
    Set("LC_ALL", all);
    Set("LC_MESSAGES", messages);
    Set("LANG", lang);
  }

 private:
  static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  std::optional<std::string> saved_[3];
};

TEST_F(LocaleEnvironment, FollowsThePosixPrecedence) {
  SetAll("de_DE.UTF-8", "fr_FR.UTF-8", "ja_JP.UTF-8");
  EXPECT_EQ(GetThreadLocale(), 0x0407u);
  SetAll("", "fr_FR.UTF-8", "ja_JP.UTF-8");  // an empty LC_ALL does not count
  EXPECT_EQ(GetThreadLocale(), 0x040Cu);
  SetAll(nullptr, "", "en_GB.UTF-8");
  EXPECT_EQ(GetThreadLocale(), 0x0809u);
  SetAll(nullptr, nullptr, nullptr);
  EXPECT_EQ(GetThreadLocale(), 0x0409u);
}

}  // namespace
