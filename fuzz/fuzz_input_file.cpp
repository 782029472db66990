#include "fuzz_input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

FuzzInputFile::FuzzInputFile(const char* szSuffix) {
    std::string strTemplate =
        (std::filesystem::temp_directory_path() / "orlin-fuzz-XXXXXX").string() + szSuffix;
    const int fd = ::mkstemps(strTemplate.data(), static_cast<int>(std::string(szSuffix).size()));
    if (fd < 0) {
        std::perror("mkstemps");
        std::abort();
    }
    ::close(fd);
    m_strPath = strTemplate;
}

FuzzInputFile::~FuzzInputFile() { ::unlink(m_strPath.c_str()); }

const std::string& FuzzInputFile::Write(const uint8_t* pData, size_t nSize) {
    const int fd = ::open(m_strPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    bool bOk = fd >= 0;
    while (bOk && nSize > 0) {
        const ssize_t nWritten = ::write(fd, pData, nSize);
        bOk = nWritten > 0;
        if (bOk) {
            pData += nWritten;
            nSize -= static_cast<size_t>(nWritten);
        }
    }
    if (fd >= 0) ::close(fd);
    if (!bOk) {
        std::perror(m_strPath.c_str());
        std::abort();
    }
    return m_strPath;
}
