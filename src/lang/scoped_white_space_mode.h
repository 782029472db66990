#pragma once

#include <tinyxml.h>

// TinyXML keeps its white-space mode in one process-wide flag. Readers that depend on
// a mode set it for the duration of their parse and then restore the previous one.
class ScopedWhiteSpaceMode {
public:
    explicit ScopedWhiteSpaceMode(bool bCondense)
        : m_bPrevious(TiXmlBase::IsWhiteSpaceCondensed()) {
        TiXmlBase::SetCondenseWhiteSpace(bCondense);
    }
    ~ScopedWhiteSpaceMode() { TiXmlBase::SetCondenseWhiteSpace(m_bPrevious); }
    ScopedWhiteSpaceMode(const ScopedWhiteSpaceMode&) = delete;
    ScopedWhiteSpaceMode& operator=(const ScopedWhiteSpaceMode&) = delete;

private:
    bool m_bPrevious;
};
