// The POSIX definition of text/cp932.h: glibc iconv "CP932".
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "text/cp932.h"

namespace {

std::size_t utf8SequenceLength(unsigned char b) {
  if (b >= 0xF0) return 4;
  if (b >= 0xE0) return 3;
  if (b >= 0xC0) return 2;
  return 1;
}

// Converts with iconv. Where the input cannot be converted, `replacement` is
// written and the offending input unit is skipped: one byte of CP932 (its
// trail byte may start the next character), or one whole UTF-8 sequence.
std::string convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    bool fromUtf8) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return out;
  char buf[512];
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  while (left > 0) {
    char* dst = buf;
    std::size_t room = sizeof buf;
    std::size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      std::size_t skip = fromUtf8 ? utf8SequenceLength(static_cast<unsigned char>(*src)) : 1;
      if (skip > left) skip = left;
      src += skip;
      left -= skip;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

const char* cp932ConverterProblem() {
  static char problem[160];
  const char* const directions[2][2] = {{"CP932", "UTF-8"}, {"UTF-8", "CP932"}};
  for (const auto& direction : directions) {
    iconv_t cd = iconv_open(direction[0], direction[1]);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
      std::snprintf(problem, sizeof problem, "iconv has no converter from \"%s\" to \"%s\" (%s)", direction[1],
                    direction[0], std::strerror(errno));
      return problem;
    }
    iconv_close(cd);
  }
  return nullptr;
}

std::string cp932ToUtf8(std::string_view cp932) { return convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", false); }

std::string utf8ToCp932(std::string_view utf8) { return convert("CP932", "UTF-8", utf8, "?", true); }
