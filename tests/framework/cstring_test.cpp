#include <gtest/gtest.h>

#include <cstring>

#include "test_module.h"

namespace corvane::testing {
namespace {

TEST(CString, LoadStringReadsTheProgramsStringTable) {
  res::SetCurrentModule(&TestModule());
  CString text;
  EXPECT_TRUE(text.LoadString(2));
  EXPECT_EQ(text, "Two\nlines");
  EXPECT_FALSE(text.LoadString(77));
  EXPECT_EQ(text, "");
  res::SetCurrentModule(nullptr);
}

TEST(CString, FindGivesTheFirstByteOffsetOrMinusOne) {
  CString text("ab%1cd%1");
  EXPECT_EQ(text.Find("%1"), 2);
  EXPECT_EQ(text.Find("zz"), -1);
  EXPECT_EQ(text.Find('d'), 5);
}

TEST(CString, GetBufferGivesRoomAndReleaseBufferTakesTheNewLength) {
  CString text("abc");
  char* buffer = text.GetBuffer(10);
  std::strcpy(buffer, "0123456789");
  text.ReleaseBuffer();
  EXPECT_EQ(text.GetLength(), 10);
  buffer = text.GetBuffer(0);
  buffer[4] = '\0';
  EXPECT_EQ(text.GetLength(), 4);  // a terminator ends the text even before ReleaseBuffer
  text += "x";
  EXPECT_EQ(text, "0123x");
}

TEST(CString, CopiesAreIndependent) {
  CString original("one");
  CString copy = original;
  copy += "two";
  CString assigned;
  assigned = original;
  assigned = "three";
  EXPECT_EQ(original, "one");
  EXPECT_EQ(copy, "onetwo");
  EXPECT_EQ(CString(nullptr), "");
}

}  // namespace
}  // namespace corvane::testing
