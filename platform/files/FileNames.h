// File names as the original platform saw them.
//
// Names are relative to the working directory (or absolute). A backslash separates folders
// like a slash. Each part of the name matches exactly when such an entry exists, otherwise
// the first entry of that folder whose name is equal ignoring ASCII letter case
// ("bakuhatsu.BMP" finds bakuhatsu.bmp). Cost: one directory scan per part that has no exact
// match; nothing is cached.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// The host path that `name` refers to. When some part has no match at all, the parts
// resolved so far are kept and the rest is appended as given (so a file can be created).
std::string resolveFileName(const char* name);

// fopen on the resolved name; same result conventions as fopen.
std::FILE* openFile(const char* name, const char* mode);

}  // namespace platform
