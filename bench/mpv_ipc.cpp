#include "mpv_ipc.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

extern char** environ;

namespace bench {

MpvIpc::~MpvIpc() {
    if (m_socket >= 0) {
        Send(R"(["quit"])");
        close(m_socket);
    }
    if (m_pid > 0) {
        int status = 0;
        for (int i = 0; i < 50 && waitpid(m_pid, &status, WNOHANG) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (waitpid(m_pid, &status, WNOHANG) == 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
        }
    }
    if (!m_socketPath.empty()) unlink(m_socketPath.c_str());
}

bool MpvIpc::Start(const std::string& path) {
    m_socketPath = "/tmp/orlin-bench-mpv-" + std::to_string(getpid()) + ".sock";
    unlink(m_socketPath.c_str());
    const std::string socketArg = "--input-ipc-server=" + m_socketPath;
    std::vector<std::string> args = {"mpv",         "--no-config", "--pause",   "--vo=null",
                                     "--ao=null",   "--hwdec=no",  "--really-quiet",
                                     socketArg,     path};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&m_pid, "mpv", nullptr, nullptr, argv.data(), environ) != 0) {
        m_pid = -1;
        return false;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, m_socketPath.c_str(), sizeof address.sun_path - 1);
    for (int i = 0; i < 250; ++i) {
        m_socket = socket(AF_UNIX, SOCK_STREAM, 0);
        if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            return true;
        }
        close(m_socket);
        m_socket = -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool MpvIpc::Send(const std::string& commandJson) {
    const std::string line = R"({"command":)" + commandJson + "}\n";
    return m_socket >= 0 && write(m_socket, line.data(), line.size()) ==
                                static_cast<ssize_t>(line.size());
}

bool MpvIpc::ReadLine(std::string* line, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const size_t newline = m_buffer.find('\n');
        if (newline != std::string::npos) {
            *line = m_buffer.substr(0, newline);
            m_buffer.erase(0, newline + 1);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{m_socket, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) return false;
        char chunk[4096];
        const ssize_t got = read(m_socket, chunk, sizeof chunk);
        if (got <= 0) return false;
        m_buffer.append(chunk, static_cast<size_t>(got));
    }
}

bool MpvIpc::WaitFor(const std::string& text, int timeoutMs, std::string* message) {
    std::string line;
    while (ReadLine(&line, timeoutMs)) {
        if (line.find(text) != std::string::npos) {
            if (message) *message = line;
            return true;
        }
    }
    return false;
}

void MpvIpc::Drain(int quietMs) {
    std::string line;
    while (ReadLine(&line, quietMs)) {
    }
}

std::string MpvIpc::Property(const std::string& name) {
    if (!Send(R"(["get_property",")" + name + R"("])")) return "";
    std::string reply;
    if (!WaitFor(R"("data":)", 5000, &reply)) return "";
    const size_t at = reply.find(R"("data":)") + 7;
    const size_t end = reply.find_first_of(",}", at);
    return reply.substr(at, end - at);
}

}  // namespace bench
