#pragma once

#include <cstddef>
#include <string_view>

// TinyXML parses nested elements recursively, so a document nested tens of thousands
// of levels deep overflows the stack. Every element, however malformed its document,
// starts with '<' followed by a name character, so counting those bounds the depth
// from above without parsing. True when `text` has at most `nMaxElements` of them.
bool HasAtMostXmlElements(std::string_view text, size_t nMaxElements);

// TinyXML steps over a UTF-8 character by the length its first byte announces,
// even when the terminator comes sooner, and then reads on from there: text
// ending in such a byte made it read past its buffer. Text handed to
// TiXmlDocument::Parse is followed by this many zero bytes, more than the
// longest character, so every such step still lands on a terminator.
inline constexpr size_t kXmlTerminatorBytes = 8;
