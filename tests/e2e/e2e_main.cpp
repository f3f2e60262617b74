// The end-to-end tests' entry: quillet_e2e <path of quillet.exe> <data folder>.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/e2e/e2e_support.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    fprintf(stderr, "usage: quillet_e2e <path of quillet.exe> <data folder>\n");
    return 2;
  }
  ProgramPath = argv[1];
  DataFolder = argv[2];
  return RUN_ALL_TESTS();
}
