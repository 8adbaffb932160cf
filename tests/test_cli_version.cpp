// quillmar-cli --version: one line naming the program and the version the
// build was configured with, which the packages and the Windows resources use too.
#include <gtest/gtest.h>

#include <string>

#include "tests/cli_run.h"

TEST(CliVersion, PrintsTheConfiguredVersionOnOneLine) {
  CliResult r = runCliCaptured({"--version"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, std::string("quillmar-cli ") + QUILLMAR_PROJECT_VERSION + "\n");
  EXPECT_EQ(r.err, "");
  // The top-level help names the option; a look-alike is still an unknown subcommand.
  EXPECT_NE(runCliCaptured({"--help"}).out.find("--version"), std::string::npos);
  CliResult wrong = runCliCaptured({"--versions"});
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_EQ(wrong.out, "");
}
