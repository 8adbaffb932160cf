// Strict argument parsing shared by every quillmar-cli subcommand. Unlike the
// window, which reads whatever is typed, the command line rejects a malformed
// or out-of-range argument with a message naming it and exit code 2.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "state/app_state.h"

inline constexpr int kExitOk = 0;
inline constexpr int kExitNotFound = 1;
inline constexpr int kExitUsage = 2;

struct CliIo {
  std::FILE* out;
  std::FILE* err;
  std::FILE* in = stdin;  // read only by an option given "-"
};

struct OptionSpec {
  const char* name;  // with the leading "--"
  bool takesValue;
};

struct ParsedArgs {
  std::vector<std::pair<std::string, std::string>> options;  // in command-line order
  std::vector<std::string> positionals;
  bool help = false;
};

// Print "quillmar-cli: error: <message>" on io.err and return kExitUsage (a
// malformed argument) or kExitNotFound (a well-formed request that could not
// be carried out). Control bytes in the message (from the arguments it quotes)
// are printed escaped, "\x1B" for ESC, so that no argument can move the cursor
// or change the terminal.
int cliError(const CliIo& io, const char* format, ...) __attribute__((format(printf, 2, 3)));
int cliFailure(const CliIo& io, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Parses argv[first..argc) against `specs`. "--name value" and "--name=value"
// are both accepted. Returns kExitOk, or kExitUsage after printing the error.
int parseArgs(int argc, const char* const* argv, int first, const std::vector<OptionSpec>& specs,
              std::size_t maxPositionals, ParsedArgs& parsed, const CliIo& io);

// The value of the last occurrence of `name`, or nullptr.
const std::string* findOption(const ParsedArgs& parsed, std::string_view name);
bool hasFlag(const ParsedArgs& parsed, std::string_view name);

// Decimal integer in lo..hi: an optional "-" and digits, nothing else.
bool parseIntStrict(std::string_view text, int64_t lo, int64_t hi, int64_t& value);

// Six comma-separated fields, one per stat in the order H, A, B, S, C, D:
// false unless there are exactly six (empty fields are passed on as such).
bool splitSixFields(std::string_view text, std::string_view (&fields)[kStatCount]);

// An entry of a list of texts, given by its number first..last or by its text
// (UTF-8, compared with texts[first..last] after conversion to CP932).
bool parseListOptionArg(std::string_view text, const char* const* texts, int first, int last, int& choice);

// A nature: its number 0..24 or its Japanese name in UTF-8.
bool parseNatureArg(std::string_view text, int& nature);

// Writes CP932 text to `out` as UTF-8; false when the stream refused the
// write (errno tells why).
bool printCp932(std::FILE* out, std::string_view cp932);
