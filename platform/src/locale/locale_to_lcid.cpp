#include "locale/locale_to_lcid.h"

#include <array>
#include <string>

#include "platform/no_case.h"

namespace platform::real {
namespace {

struct LanguageEntry {
  std::string_view language;
  LCID primary;
};

struct TerritoryEntry {
  std::string_view language;
  std::string_view territory;
  LCID lcid;
};

constexpr std::array kLanguages{
    LanguageEntry{"cs", 0x05}, LanguageEntry{"da", 0x06}, LanguageEntry{"de", 0x07},
    LanguageEntry{"el", 0x08}, LanguageEntry{"en", 0x09}, LanguageEntry{"es", 0x0A},
    LanguageEntry{"fi", 0x0B}, LanguageEntry{"fr", 0x0C}, LanguageEntry{"hu", 0x0E},
    LanguageEntry{"it", 0x10}, LanguageEntry{"ja", 0x11}, LanguageEntry{"ko", 0x12},
    LanguageEntry{"nl", 0x13}, LanguageEntry{"nb", 0x14}, LanguageEntry{"no", 0x14},
    LanguageEntry{"pl", 0x15}, LanguageEntry{"pt", 0x16}, LanguageEntry{"ru", 0x19},
    LanguageEntry{"sv", 0x1D}, LanguageEntry{"tr", 0x1F}, LanguageEntry{"zh", 0x04},
};

// Spanish of Spain is the modern sort (0x0C0A); 0x040A is the traditional one.
constexpr std::array kTerritories{
    TerritoryEntry{"en", "US", 0x0409}, TerritoryEntry{"en", "GB", 0x0809},
    TerritoryEntry{"en", "AU", 0x0C09}, TerritoryEntry{"en", "CA", 0x1009},
    TerritoryEntry{"de", "DE", 0x0407}, TerritoryEntry{"de", "CH", 0x0807},
    TerritoryEntry{"de", "AT", 0x0C07}, TerritoryEntry{"fr", "FR", 0x040C},
    TerritoryEntry{"fr", "BE", 0x080C}, TerritoryEntry{"fr", "CA", 0x0C0C},
    TerritoryEntry{"es", "ES", 0x0C0A}, TerritoryEntry{"es", "MX", 0x080A},
    TerritoryEntry{"it", "IT", 0x0410}, TerritoryEntry{"nl", "NL", 0x0413},
    TerritoryEntry{"nl", "BE", 0x0813}, TerritoryEntry{"ja", "JP", 0x0411},
    TerritoryEntry{"zh", "CN", 0x0804}, TerritoryEntry{"zh", "TW", 0x0404},
    TerritoryEntry{"ko", "KR", 0x0412}, TerritoryEntry{"pt", "BR", 0x0416},
    TerritoryEntry{"pt", "PT", 0x0816}, TerritoryEntry{"ru", "RU", 0x0419},
    TerritoryEntry{"sv", "SE", 0x041D}, TerritoryEntry{"pl", "PL", 0x0415},
    TerritoryEntry{"da", "DK", 0x0406}, TerritoryEntry{"fi", "FI", 0x040B},
    TerritoryEntry{"nb", "NO", 0x0414}, TerritoryEntry{"no", "NO", 0x0414},
    TerritoryEntry{"cs", "CZ", 0x0405}, TerritoryEntry{"el", "GR", 0x0408},
    TerritoryEntry{"hu", "HU", 0x040E}, TerritoryEntry{"tr", "TR", 0x041F},
};

constexpr LCID kSublangDefault = 1u << 10;

}  // namespace

LCID LcidForLocaleName(std::string_view name) {
  // The codeset and modifier say nothing about the language.
  name = name.substr(0, name.find_first_of(".@"));
  if (name.empty() || name == "C" || name == "POSIX") return kEnglishUnitedStates;

  const std::size_t underscore = name.find('_');
  const std::string_view language = name.substr(0, underscore);
  const std::string_view territory =
      underscore == std::string_view::npos ? std::string_view{} : name.substr(underscore + 1);

  for (const TerritoryEntry& entry : kTerritories) {
    if (EqualNoCase(entry.language, language) && EqualNoCase(entry.territory, territory))
      return entry.lcid;
  }
  for (const LanguageEntry& entry : kLanguages) {
    if (EqualNoCase(entry.language, language)) return kSublangDefault | entry.primary;
  }
  return kLanguageNeutral;
}

}  // namespace platform::real
