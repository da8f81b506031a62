// Reading .reg text the way regedit imports it, one case per kind of line.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/hive_registry.h"

namespace platform {
namespace {

using Action = RegEdit::Action;

RegKeyPath Machine(std::vector<std::string> names) { return {RegistryRoot::LocalMachine, std::move(names)}; }

RegData Text(const std::string& text) {
  std::vector<BYTE> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return {REG_SZ, bytes};
}

RegEdit Create(RegKeyPath key) { return {Action::CreateKey, std::move(key), {}, {}}; }
RegEdit Set(RegKeyPath key, std::string name, RegData data) {
  return {Action::SetValue, std::move(key), std::move(name), std::move(data)};
}

const RegKeyPath kKey = Machine({"Software", "Test"});
const std::string kHeader4 = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n";
const std::string kHeader5 = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n";

struct Case {
  const char* what;
  std::string file;
  std::vector<RegEdit> edits;    // every edit the file asks for, in order
  std::vector<int> skippedLines; // the lines noted as unreadable
};

std::vector<Case> Cases() {
  return {
      {"named text value with escapes", kHeader4 + "\"Path\"=\"C:\\\\Program Files\\\\x \\\"y\\\"\"\r\n",
       {Create(kKey), Set(kKey, "Path", Text("C:\\Program Files\\x \"y\""))}, {}},
      {"a backslash before another letter stays", kHeader4 + "\"A\"=\"a\\nb\"\n",
       {Create(kKey), Set(kKey, "A", Text("a\\nb"))}, {}},
      {"default value and blanks around '='", kHeader4 + "@ = \"htmlfile\"\r\n",
       {Create(kKey), Set(kKey, "", Text("htmlfile"))}, {}},
      {"dword", kHeader4 + "\"N\"=dword:0000012a\r\n",
       {Create(kKey), Set(kKey, "N", {REG_DWORD, {0x2a, 0x01, 0, 0}})}, {}},
      {"binary continued over lines", kHeader4 + "\"B\"=hex:01,02,\\\r\n  03,ff\r\n",
       {Create(kKey), Set(kKey, "B", {REG_BINARY, {1, 2, 3, 0xff}})}, {}},
      {"REGEDIT4 expandable string kept as stored, unexpanded",
       kHeader4 + "@=hex(2):25,50,41,54,48,25,00\r\n",
       {Create(kKey), Set(kKey, "", {REG_EXPAND_SZ, {'%', 'P', 'A', 'T', 'H', '%', 0}})}, {}},
      {"version 5 expandable string from UTF-16",
       kHeader5 + "@=hex(2):25,00,50,00,25,00,00,00\r\n",
       {Create(kKey), Set(kKey, "", {REG_EXPAND_SZ, {'%', 'P', '%', 0}})}, {}},
      {"multi-string", kHeader4 + "\"M\"=hex(7):61,00,62,00,00\r\n",
       {Create(kKey), Set(kKey, "M", {REG_MULTI_SZ, {'a', 0, 'b', 0, 0}})}, {}},
      {"value deleted", kHeader4 + "\"Old\"=-\r\n",
       {Create(kKey), {Action::DeleteValue, kKey, "Old", {}}}, {}},
      {"key deleted, its values ignored",
       "REGEDIT4\n[-HKEY_CLASSES_ROOT\\.html]\n\"x\"=\"y\"\n",
       {{Action::DeleteKey, {RegistryRoot::ClassesRoot, {".html"}}, {}, {}}}, {3}},
      {"root names without regard to case, trailing backslash",
       "REGEDIT4\n[hkey_current_user\\Software\\]\n",
       {Create({RegistryRoot::CurrentUser, {"Software"}})}, {}},
      {"comments and blank lines", kHeader4 + "; a comment\r\n   \r\n\"A\"=\"1\"\r\n",
       {Create(kKey), Set(kKey, "A", Text("1"))}, {}},
      {"malformed lines skipped, the rest still read",
       kHeader4 + "\"A\"=\"open\r\n\"B\"=dword:xyz\r\n\"C\"=hex:1,zz\r\nnonsense\r\n\"D\"=\"ok\"\r\n",
       {Create(kKey), Set(kKey, "D", Text("ok"))}, {4, 5, 6, 7}},
      {"abbreviated root rejected with the values below it",
       "REGEDIT4\n[HKLM\\Software]\n\"A\"=\"1\"\n[HKEY_LOCAL_MACHINE\\Software\\Test]\n\"B\"=\"2\"\n",
       {Create(kKey), Set(kKey, "B", Text("2"))}, {2, 3}},
      {"key line without ']'", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\n", {}, {2}},
      {"value before any key", "REGEDIT4\n\"A\"=\"1\"\n", {}, {2}},
      {"no header: nothing imported", "[HKEY_LOCAL_MACHINE\\Software\\Test]\n\"A\"=\"1\"\n", {}, {1}},
      {"header after blank lines, LF only", "\n\nREGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Test]\n",
       {Create(kKey)}, {}},
  };
}

TEST(RegFileParser, ReadsEachKindOfLine) {
  for (const Case& c : Cases()) {
    const RegScript script = ParseRegFile(c.file);
    EXPECT_EQ(script.edits, c.edits) << c.what;
    std::vector<int> skipped;
    for (const RegSkippedLine& line : script.skipped) skipped.push_back(line.line);
    EXPECT_EQ(skipped, c.skippedLines) << c.what;
  }
}

// regedit writes version 5 files in UTF-16LE with a byte-order mark and
// REGEDIT4 files in the ANSI code page; files written here are UTF-8. The
// text always comes out as UTF-8.
TEST(RegFileParser, ReadsEveryTextEncodingAsUtf8) {
  const std::string utf8 = "caf\xC3\xA9 \xE2\x82\xAC";
  const std::string body = "[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n\"Name\"=\"caf\xC3\xA9 \xE2\x82\xAC\"\r\n";
  const std::string version5 = "Windows Registry Editor Version 5.00\r\n" + body;
  std::string utf16 = "\xFF\xFE";
  for (const char32_t c : std::u32string_view(U"Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n"
                          U"\"Name\"=\"caf\u00E9 \u20AC\"\r\n")) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  const struct {
    const char* what;
    std::string file;
  } cases[] = {
      {"UTF-16LE", utf16},
      {"UTF-8", "REGEDIT4\r\n" + body},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + version5},
      {"ANSI", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Test]\r\n\"Name\"=\"caf\xE9 \x80\"\r\n"},
  };
  for (const auto& c : cases) {
    const RegScript script = ParseRegFile(c.file);
    ASSERT_EQ(script.edits.size(), 2u) << c.what;
    EXPECT_EQ(script.edits[1], Set(kKey, "Name", Text(utf8))) << c.what;
    EXPECT_TRUE(script.skipped.empty()) << c.what;
  }
}

// The sample hive in the repository is read without a single skipped line.
TEST(RegFileParser, ReadsTheSampleHiveWhole) {
  std::ifstream in(CORVANE_SAMPLE_HIVE, std::ios::binary);
  ASSERT_TRUE(in) << CORVANE_SAMPLE_HIVE;
  std::ostringstream text;
  text << in.rdbuf();
  const RegScript script = ParseRegFile(text.str());
  for (const RegSkippedLine& line : script.skipped) ADD_FAILURE() << "line " << line.line << ": " << line.reason;
  EXPECT_EQ(script.edits.size(), 9u);
}

}  // namespace
}  // namespace platform
