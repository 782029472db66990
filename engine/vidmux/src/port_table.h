#pragma once

#include <array>
#include <memory>
#include <mutex>

#include "port.h"
#include "vidmux.h"

namespace vidmux {

// The process's ports. A call holds its port through a shared pointer, so a
// port freed by another thread meanwhile stays alive until the call returns.
class PortTable {
public:
    static PortTable& Instance();

    // Takes a free port; -1 when all are in use.
    int Take();
    // Frees the port; false when it was not taken or when asked from the
    // port's own thread (a callback cannot free the port that calls it).
    bool Free(int id);
    std::shared_ptr<Port> Find(int id);

private:
    std::mutex m_mutex;
    std::array<std::shared_ptr<Port>, VIDMUX_MAX_PORTS> m_ports;
};

}  // namespace vidmux
