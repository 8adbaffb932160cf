#include "data/named_file.h"

std::FILE* openNamedFile(const char* path, const char* mode) { return std::fopen(path, mode); }
