#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/cli_run.h"

namespace {

std::string idsLine(uint32_t seed) {
  std::mt19937 reference(seed);
  reference.discard(1);
  const uint32_t second = static_cast<uint32_t>(reference());
  char line[64];
  std::snprintf(line, sizeof line, "0x%08X\t%u\t%u\n", seed, second & 0xFFFFu, second >> 16);
  return line;
}

// Every hit has the TID asked for, or makes a Cute Charm PID shiny, and the
// moment seed-time gives its seed; what is wanted must be said.
TEST(CliIds, SearchHitsHaveTheIdsWanted) {
  CliResult r = runCliCaptured({"id-search", "--year", "2026", "--tid", "12345", "--hours", "20-23", "--limit", "4"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  int lines = 0;
  for (std::size_t at = 0, end; (end = r.out.find('\n', at)) != std::string::npos; at = end + 1, ++lines) {
    const std::string line = r.out.substr(at, end - at);
    const uint32_t seed = static_cast<uint32_t>(std::stoul(line.substr(0, 10), nullptr, 16));
    const std::string ids = idsLine(seed);
    EXPECT_EQ(line.substr(0, ids.size() - 1), ids.substr(0, ids.size() - 1));
    EXPECT_NE(ids.find("\t12345\t"), std::string::npos) << line;
    std::string moment = runCliCaptured({"seed-time", line.substr(0, 10), "--year", "2026", "--limit", "1"}).out;
    moment = moment.substr(0, moment.find(" delay")) + "\tdelay" + moment.substr(moment.find(" delay") + 6);
    EXPECT_EQ(line.substr(ids.size()) + "\n", moment) << line;
  }
  EXPECT_EQ(lines, 4);
  r = runCliCaptured({"id-search", "--year", "2026", "--cute-charm", "ようき:127", "--limit", "2"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  for (std::size_t at = 0, end; (end = r.out.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string line = r.out.substr(at, end - at);
    const unsigned tid = std::stoul(line.substr(11));
    const unsigned sid = std::stoul(line.substr(line.find('\t', 11) + 1));
    EXPECT_TRUE((tid ^ sid ^ 13u) < 8u || (tid ^ sid ^ 163u) < 8u) << line;  // PIDs 13 and 25 * 6 + 13
  }
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"id-search", "--year", "2026"},
           {"id-search", "--year", "2026", "--tid", "65536"},
           {"id-search", "--year", "2026", "--cute-charm", "ようき:254"},
           {"id-search", "--year", "2026", "--tid", "1", "--max-frame", "3"},
           {"ids"},
           {"ids", "0x1", "--delay", "3"},
           {"ids", "--at", "2026-04-27 02:58:59"},
           {"ids", "--at", "2026-04-27 02:58:59", "--delays", "5-3"}}) {
    EXPECT_EQ(runCliCaptured(bad).exitCode, 2) << bad.back();
  }
}

}  // namespace
