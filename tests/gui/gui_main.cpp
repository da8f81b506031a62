#include <gtest/gtest.h>

#include "gui_session.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new corvane::guitest::GuiEnvironment);
  return RUN_ALL_TESTS();
}
