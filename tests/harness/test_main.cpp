// The main of every Windows test program: GoogleTest run with a TEMP of the
// program's own, removed at the end (test_files.h), so no test leaves files
// in the TEMP that the suite's programs list and that later runs share.
#include <gtest/gtest.h>

#include "test_files.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  harness::PrivateTempFolder temp;
  return RUN_ALL_TESTS();
}
