#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The fuzzer's input as a file, for code that reads from a path: one file per
// process under the temporary folder, rewritten with each input and removed at
// exit. `suffix` becomes the end of the name (".mp4"), for readers that look
// at it.
class FuzzInputFile {
public:
    explicit FuzzInputFile(const char* szSuffix = "");
    ~FuzzInputFile();
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    // Replaces the file's contents with the input; the process ends when it cannot,
    // since every later input would test nothing.
    const std::string& Write(const uint8_t* pData, size_t nSize);
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};
