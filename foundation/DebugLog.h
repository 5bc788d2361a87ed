// The debug log: "QelDebug.txt" in the working directory, emptied once at start-up and
// appended to, one open/write/close per message, so every message is on disk when the call
// returns. Messages are byte strings written unchanged (Japanese texts are Shift-JIS bytes);
// nothing is added, not even a line end.
#pragma once

// Name of the log file, relative to the working directory.
inline constexpr const char kDebugLogFileName[] = "QelDebug.txt";

// Start of the open-failure message: "ファイルのオープンに失敗しました FileName…" in Shift-JIS,
// a space and a double quote. The file name follows, then kOpenFailureSuffix.
inline constexpr const char kOpenFailurePrefix[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x83\x49\x81\x5b\x83\x76\x83\x93\x82\xc9\x8e\xb8\x94\x73"
    "\x82\xb5\x82\xdc\x82\xb5\x82\xbd"
    " FileName"
    "\x81\x63"
    " \"";
// End of the open-failure message: a double quote, carriage return and line feed.
inline constexpr const char kOpenFailureSuffix[] = "\"\r\n";

// Empties (or creates) the log. Runs during static initialisation, before any message.
void resetDebugLog();
// Appends the bytes of `text` (without its zero). When the log itself cannot be opened the
// message is dropped: that failure is never reported to the log again.
void appendToDebugLog(const char* text);
// Appends the open-failure message for the file `name`.
void logOpenFailure(const char* name);
