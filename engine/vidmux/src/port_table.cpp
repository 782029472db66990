#include "port_table.h"

#include <cstdlib>

namespace vidmux {

namespace {

// Ports a program forgot to free are closed before the process exits, so no
// decoding thread runs while the C and C++ runtimes tear down.
void FreeAllPortsAtExit() {
    for (int id = 0; id < VIDMUX_MAX_PORTS; ++id) PortTable::Instance().Free(id);
}

}  // namespace

PortTable& PortTable::Instance() {
    static PortTable* table = [] {
        std::atexit(&FreeAllPortsAtExit);
        return new PortTable;
    }();
    return *table;
}

int PortTable::Take() {
    std::lock_guard lock(m_mutex);
    for (size_t i = 0; i < m_ports.size(); ++i) {
        if (!m_ports[i]) {
            m_ports[i] = std::make_shared<Port>(static_cast<int>(i));
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool PortTable::Free(int id) {
    std::shared_ptr<Port> port;
    {
        std::lock_guard lock(m_mutex);
        if (id < 0 || id >= static_cast<int>(m_ports.size()) || !m_ports[id]) return false;
        if (m_ports[id]->OnPortThread()) return false;
        port = std::move(m_ports[id]);
    }
    // Closing outside the table lock: joining the port's threads may wait
    // for a callback that calls into another port.
    port->CloseFile();
    return true;
}

std::shared_ptr<Port> PortTable::Find(int id) {
    std::lock_guard lock(m_mutex);
    if (id < 0 || id >= static_cast<int>(m_ports.size())) return nullptr;
    return m_ports[id];
}

}  // namespace vidmux
