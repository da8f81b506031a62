// Turning a POSIX locale name into the Windows locale identifier the
// programs expect from GetThreadLocale.
#pragma once
#include <string_view>

#include "win32/types.h"

namespace platform::real {

constexpr LCID kEnglishUnitedStates = 0x0409;
constexpr LCID kLanguageNeutral = 0x0000;

// "language[_territory][.codeset][@modifier]" -> LCID. "C", "POSIX" and an
// empty name are English (United States); a known language with a territory
// we do not list gets the language's default sublanguage; a language we do
// not know is neutral.
LCID LcidForLocaleName(std::string_view name);

}  // namespace platform::real
