// Without a display the FLTK window system declines with a reason, and the
// process goes on (FLTK itself would end it).
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/fltk_window_system.h"

namespace corvane {
namespace {

TEST(FltkWithoutDisplay, DeclinesWithAOneLineReason) {
  struct Case {
    const char* display;  // nullptr: unset
    const char* reasonMentions;
  };
  for (const Case& c : {Case{nullptr, "DISPLAY"}, Case{"", "DISPLAY"}, Case{":987", ":987"}}) {
    SCOPED_TRACE(c.display ? c.display : "(unset)");
    if (c.display) setenv("DISPLAY", c.display, 1);
    else unsetenv("DISPLAY");
    std::string why;
    EXPECT_EQ(ui::TryFltkWindowSystem(why), nullptr);
    EXPECT_NE(why.find(c.reasonMentions), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos);
  }
}

}  // namespace
}  // namespace corvane
