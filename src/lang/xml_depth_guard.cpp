#include "lang/xml_depth_guard.h"

namespace {

// The characters TinyXML accepts at the start of an element name; bytes from 0x80 up
// count because in UTF-8 documents it takes them as letters.
bool StartsName(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

}  // namespace

bool HasAtMostXmlElements(std::string_view text, size_t nMaxElements) {
    size_t nElements = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '<' && StartsName(static_cast<unsigned char>(text[i + 1]))) {
            if (++nElements > nMaxElements) {
                return false;
            }
        }
    }
    return true;
}
