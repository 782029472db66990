#include "file_size_limit.h"

ScopedFileSizeLimit::ScopedFileSizeLimit(uint64_t nBytes) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    if (::sigaction(SIGXFSZ, &ignore, &m_previousAction) != 0) return;
    if (::getrlimit(RLIMIT_FSIZE, &m_previous) != 0) return;
    rlimit limited = m_previous;
    limited.rlim_cur = nBytes;
    m_bOk = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
    if (m_bOk) ::setrlimit(RLIMIT_FSIZE, &m_previous);
    ::sigaction(SIGXFSZ, &m_previousAction, nullptr);
}
