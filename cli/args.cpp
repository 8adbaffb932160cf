#include "cli/args.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "data/tables.h"
#include "text/cp932.h"

namespace {

// The message, formatted whole and then written with every C0 control byte,
// DEL and every C1 control (U+0080..U+009F, C2 80..C2 9F in UTF-8) shown as
// \xHH escapes of its bytes.
void printMessage(const CliIo& io, const char* format, va_list ap) {
  std::string message;
  va_list count;
  va_copy(count, ap);
  const int n = std::vsnprintf(nullptr, 0, format, count);
  va_end(count);
  if (n > 0) {
    message.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(message.data(), message.size(), format, ap);
    message.resize(static_cast<std::size_t>(n));
  }
  std::string shown = "quillmar-cli: error: ";
  for (std::size_t i = 0; i < message.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(message[i]);
    const bool c1 = b == 0xC2 && i + 1 < message.size() && static_cast<unsigned char>(message[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(message[i + 1]) <= 0x9F;
    if (b < 0x20 || b == 0x7F || c1) {
      const int width = c1 ? 2 : 1;
      for (int k = 0; k < width; ++k) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(message[i + k]));
        shown += escaped;
      }
      i += width - 1;
    } else {
      shown += message[i];
    }
  }
  shown += '\n';
  std::fwrite(shown.data(), 1, shown.size(), io.err);
}

}  // namespace

int cliError(const CliIo& io, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  printMessage(io, format, ap);
  va_end(ap);
  return kExitUsage;
}

int cliFailure(const CliIo& io, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  printMessage(io, format, ap);
  va_end(ap);
  return kExitNotFound;
}

int parseArgs(int argc, const char* const* argv, int first, const std::vector<OptionSpec>& specs,
              std::size_t maxPositionals, ParsedArgs& parsed, const CliIo& io) {
  for (int i = first; i < argc; ++i) {
    std::string_view arg = argv[i] ? argv[i] : "";
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
      continue;
    }
    if (arg.size() > 2 && arg.substr(0, 2) == "--") {
      std::string_view name = arg;
      std::string_view inlineValue;
      bool hasInline = false;
      if (std::size_t eq = arg.find('='); eq != std::string_view::npos) {
        name = arg.substr(0, eq);
        inlineValue = arg.substr(eq + 1);
        hasInline = true;
      }
      const OptionSpec* option = nullptr;
      for (const OptionSpec& s : specs) {
        if (name == s.name) option = &s;
      }
      if (!option) return cliError(io, "unknown option '%.*s'", static_cast<int>(name.size()), name.data());
      if (!option->takesValue) {
        if (hasInline) return cliError(io, "option '%s' takes no value", option->name);
        parsed.options.emplace_back(option->name, "");
        continue;
      }
      if (hasInline) {
        parsed.options.emplace_back(option->name, std::string(inlineValue));
        continue;
      }
      if (i + 1 >= argc || argv[i + 1] == nullptr) return cliError(io, "option '%s' needs a value", option->name);
      parsed.options.emplace_back(option->name, argv[++i]);
      continue;
    }
    if (parsed.positionals.size() >= maxPositionals) {
      return cliError(io, "unexpected argument '%.*s'", static_cast<int>(arg.size()), arg.data());
    }
    parsed.positionals.emplace_back(arg);
  }
  return kExitOk;
}

const std::string* findOption(const ParsedArgs& parsed, std::string_view name) {
  const std::string* found = nullptr;
  for (const auto& [n, v] : parsed.options) {
    if (n == name) found = &v;
  }
  return found;
}

bool hasFlag(const ParsedArgs& parsed, std::string_view name) { return findOption(parsed, name) != nullptr; }

bool parseIntStrict(std::string_view text, int64_t lo, int64_t hi, int64_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  if (i == text.size()) return false;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > (int64_t{1} << 40)) return false;  // far beyond any range we accept
  }
  if (negative) v = -v;
  if (v < lo || v > hi) return false;
  value = v;
  return true;
}

bool splitSixFields(std::string_view text, std::string_view (&fields)[kStatCount]) {
  for (int i = 0; i < kStatCount; ++i) {
    std::size_t comma = text.find(',');
    bool last = i == kStatCount - 1;
    if (last != (comma == std::string_view::npos)) return false;
    fields[i] = last ? text : text.substr(0, comma);
    if (!last) text = text.substr(comma + 1);
  }
  return true;
}

bool parseListOptionArg(std::string_view text, const char* const* texts, int first, int last, int& choice) {
  int64_t n = 0;
  if (parseIntStrict(text, first, last, n)) {
    choice = static_cast<int>(n);
    return true;
  }
  std::string cp932 = utf8ToCp932(text);
  for (int k = first; k <= last; ++k) {
    if (cp932 == texts[k]) {
      choice = k;
      return true;
    }
  }
  return false;
}

bool parseNatureArg(std::string_view text, int& nature) {
  return parseListOptionArg(text, kNatureNames, 0, kNatureCount - 1, nature);
}

bool printCp932(std::FILE* out, std::string_view cp932) {
  std::string utf8 = cp932ToUtf8(cp932);
  return std::fwrite(utf8.data(), 1, utf8.size(), out) == utf8.size();
}
