// The main of every GoogleTest program: the defaults of the locale settings, a fixed clock year.
#include <gtest/gtest.h>

#include "LocaleSettings.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  quorvane::SetCurrentYearSource([] { return 2010; });
  return RUN_ALL_TESTS();
}
