// Runs quillmar-cli in-process and captures what it prints.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"

struct CliResult {
  int exitCode;
  std::string out;
  std::string err;
};

inline std::string readAll(std::FILE* f) {
  std::string s;
  std::rewind(f);
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  std::fclose(f);
  return s;
}

inline CliResult runCliCaptured(std::vector<std::string> args) {
  std::vector<const char*> argv{"quillmar-cli"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  int rc = runCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return CliResult{rc, readAll(out), readAll(err)};
}

// As runCliCaptured, with `input` as standard input.
inline CliResult runCliCapturedWithInput(std::vector<std::string> args, const std::string& input) {
  std::vector<const char*> argv{"quillmar-cli"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::FILE* in = std::tmpfile();
  std::fwrite(input.data(), 1, input.size(), in);
  std::rewind(in);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  int rc = runCli(static_cast<int>(argv.size()), argv.data(), in, out, err);
  std::fclose(in);
  return CliResult{rc, readAll(out), readAll(err)};
}

// The arguments as "[a] [b] ", for failure messages.
inline std::string joinedArgs(const std::vector<std::string>& args) {
  std::string joined;
  for (const auto& a : args) joined += "[" + a + "] ";
  return joined;
}

// A rejected command line: exit code 2, nothing on stdout, a message on stderr.
inline void expectUsageError(const std::vector<std::string>& args) {
  const std::string joined = joinedArgs(args);
  CliResult r = runCliCaptured(args);
  EXPECT_EQ(r.exitCode, 2) << joined;
  EXPECT_EQ(r.out, "") << joined;
  EXPECT_EQ(r.err.rfind("quillmar-cli: error: ", 0), 0u) << joined << r.err;
}

// The lines of a text, without their ends.
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

// The tab-separated fields of a line.
inline std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  for (std::size_t tab; (tab = line.find('\t', at)) != std::string::npos; at = tab + 1) {
    parts.push_back(line.substr(at, tab - at));
  }
  parts.push_back(line.substr(at));
  return parts;
}
