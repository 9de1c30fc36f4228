// The main of every Windows test program: GoogleTest run with a TEMP of the
// program's own, removed at the end (test_files.h), so no test leaves files
// in the TEMP that the suite's programs list and that later runs share.
// Programs the tests started and left running are ended first, and a TEMP
// folder that cannot be removed fails the run, naming what is left.
#include <gtest/gtest.h>

#include "harness.h"
#include "test_files.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  harness::ProgramJob programs;
  harness::PrivateTempFolder temp;
  int result = RUN_ALL_TESTS();
  // A program still running could hold files in the TEMP folder.
  programs.EndLeftovers();
  if (!temp.Remove()) result = 1;
  return result;
}
