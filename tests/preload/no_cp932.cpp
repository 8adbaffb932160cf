// Preloaded into quillmar-cli and the window (LD_PRELOAD) to play a C library
// whose iconv lacks the CP932 converter: iconv_open fails for "CP932" in either
// direction, as glibc's does when the converter module is missing, and hands
// every other request to the real iconv_open.
#include <dlfcn.h>
#include <iconv.h>
#include <strings.h>

#include <cerrno>

extern "C" iconv_t iconv_open(const char* to, const char* from) {
  if (strcasecmp(to, "CP932") == 0 || strcasecmp(from, "CP932") == 0) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
  }
  using IconvOpen = iconv_t (*)(const char*, const char*);
  static const IconvOpen real = reinterpret_cast<IconvOpen>(dlsym(RTLD_NEXT, "iconv_open"));
  if (real == nullptr) {
    errno = ENOSYS;
    return reinterpret_cast<iconv_t>(-1);
  }
  return real(to, from);
}
