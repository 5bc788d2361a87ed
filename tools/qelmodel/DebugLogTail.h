// DebugLogTail: the lines appended to the debug log (QelDebug.txt in the working directory)
// since the tail was made. Lines are byte strings without their line end (CR LF or LF); a
// last piece without a line end counts as a line. A log that cannot be written (a read-only
// folder) has no lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class DebugLogTail {
 public:
  // Remembers the log's present length (0 when there is none).
  DebugLogTail();
  // The lines written since.
  std::vector<std::string> lines() const;

 private:
  std::uintmax_t start_ = 0;
};
