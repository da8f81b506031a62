// The text of a private profile (INI) file, read and edited the way the
// Windows profile routines do it. Pure functions on the file's bytes, so the
// rules can be checked without a disk.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::real {

// The value of `key` in `section`, with surrounding blanks and one matching
// pair of outer quotes removed. Names match without regard to case; the first
// section of that name and the first key in it win.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// The names of all sections, in file order, first spelling of each.
std::vector<std::string> ProfileSectionNames(std::string_view text);

// The names of the keys in the first section called `section`, in file order;
// nothing when there is no such section.
std::optional<std::vector<std::string>> ProfileKeyNames(std::string_view text,
                                                        std::string_view section);

// The file text with `key` in `section` set to `value`: an existing key line
// is rewritten as key=value with its own spelling, a new key goes after the
// last non-blank line of its section, a new section goes at the end of the
// file. Every other byte stays as it was; new lines end like the file's first
// line (CRLF for a file with no line ending yet).
std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

// The file text without the first line of `key` in `section`; unchanged when
// there is none.
std::string WithoutProfileKey(std::string_view text, std::string_view section,
                              std::string_view key);

// The file text without the first section called `section`: its header and
// every line up to the next section header.
std::string WithoutProfileSection(std::string_view text, std::string_view section);

}  // namespace platform::real
