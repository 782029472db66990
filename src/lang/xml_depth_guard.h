#pragma once

#include <cstddef>
#include <string_view>

// TinyXML parses nested elements recursively, so a document nested tens of thousands
// of levels deep overflows the stack. Every element, however malformed its document,
// starts with '<' followed by a name character, so counting those bounds the depth
// from above without parsing. True when `text` has at most `nMaxElements` of them.
bool HasAtMostXmlElements(std::string_view text, size_t nMaxElements);
