#pragma once

#include <string>
#include <sys/types.h>

namespace bench {

// mpv started paused on a file, without picture or sound output, and driven
// through its JSON IPC socket: the anchor some measurements compare with.
class MpvIpc {
public:
    MpvIpc() = default;
    ~MpvIpc();
    MpvIpc(const MpvIpc&) = delete;
    MpvIpc& operator=(const MpvIpc&) = delete;

    // False when mpv cannot be started or its socket does not answer.
    bool Start(const std::string& path);
    // Sends a command, given as a JSON array, and returns at once.
    bool Send(const std::string& commandJson);
    // Reads messages until one contains `text`; false after `timeoutMs`.
    bool WaitFor(const std::string& text, int timeoutMs, std::string* message = nullptr);
    // Drops the messages mpv sent so far, once none came for `quietMs`.
    void Drain(int quietMs);
    // The property's value as mpv prints it, or "" on failure.
    std::string Property(const std::string& name);

private:
    bool ReadLine(std::string* line, int timeoutMs);

    pid_t m_pid = -1;
    int m_socket = -1;
    std::string m_socketPath;
    std::string m_buffer;
};

}  // namespace bench
