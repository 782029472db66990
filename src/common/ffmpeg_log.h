#pragma once

// FFmpeg writes its warnings and errors to standard error by default. A
// desktop program started from a terminal would print lines such as "Packet
// corrupt" there whenever a damaged recording is read or a read is cut short
// on purpose; the engine reports what matters through its error codes. From
// this call on, FFmpeg's warnings and errors go to DebugLog, prefixed with
// "FFmpeg: ", and its informational lines are dropped.
void SendFfmpegMessagesToDebugLog();

// Gives FFmpeg's messages back to its own default handler.
void RestoreFfmpegMessages();
