#include "foundation/DebugLog.h"

#include <cstring>

#include "foundation/FileStream.h"
#include "foundation/HeapString.h"

namespace {
// Set while a message is being appended: the log's own open failure would otherwise report
// itself to the log again, without end.
bool gAppending = false;
}  // namespace

void resetDebugLog() { FileStream log(kDebugLogFileName, "w"); }

void appendToDebugLog(const char* text) {
  if (gAppending || !text) return;
  gAppending = true;
  {
    FileStream log(kDebugLogFileName, "a+");
    if (log.isOpen()) {
      log.seekToEnd();
      log.write(text, static_cast<std::int32_t>(std::strlen(text)));
    }
  }
  gAppending = false;
}

void logOpenFailure(const char* name) {
  HeapString message = HeapString(kOpenFailurePrefix) + name + kOpenFailureSuffix;
  appendToDebugLog(message.c_str());
}
