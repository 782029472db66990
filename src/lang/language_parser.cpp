#include "lang/language_parser.h"

#include <tinyxml.h>

#include <QResource>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "common/debug_log.h"
#include "lang/language_tables.h"
#include "lang/scoped_white_space_mode.h"
#include "lang/xml_depth_guard.h"

namespace {

// A table holds a few hundred entries; far more elements than that can only come from
// a damaged or hostile buffer, which could nest deep enough to exhaust the stack.
constexpr size_t kMaxTableElements = 4096;

std::unique_ptr<TiXmlDocument>& CurrentTable() {
    static std::unique_ptr<TiXmlDocument> pDocument;
    return pDocument;
}

}  // namespace

bool CLanguageParser::LoadStringFile(LanguageCode nCode) {
    const QString strResource = LanguageTableResource(nCode);
    if (strResource.isEmpty()) {
        DebugLog("CLanguageParser::LoadStringFile() return 1");
        return false;
    }

    QResource resource(strResource);
    // For an uncompressed resource this refers to the compiled-in bytes without copying.
    const QByteArray bytes = resource.isValid() ? resource.uncompressedData() : QByteArray();
    if (bytes.isEmpty()) {
        DebugLog("CLanguageParser::LoadStringFile() return 2");
        return false;
    }
    return LoadStringBuffer(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool CLanguageParser::LoadStringBuffer(const char* pData, size_t nSize) {
    if (pData == nullptr && nSize != 0) {
        DebugLog("CLanguageParser::LoadStringFile() return 2");
        return false;
    }

    // TinyXML parses zero-terminated text only, so the bytes get terminators of
    // their own; the parse can then never run past the end of the data.
    std::unique_ptr<char[]> pBuffer;
    if (nSize <= SIZE_MAX - kXmlTerminatorBytes) {
        pBuffer.reset(new (std::nothrow) char[nSize + kXmlTerminatorBytes]);
    }
    if (!pBuffer) {
        DebugLog("CLanguageParser::LoadStringFile() return 3");
        return false;
    }
    if (nSize != 0) {
        std::memcpy(pBuffer.get(), pData, nSize);
    }
    std::memset(pBuffer.get() + nSize, 0, kXmlTerminatorBytes);

    auto& pTable = CurrentTable();
    pTable = std::make_unique<TiXmlDocument>();

    bool bParsed = false;
    if (HasAtMostXmlElements(std::string_view(pBuffer.get(), nSize), kMaxTableElements)) {
        // Table texts are condensed (runs of white space become one space).
        ScopedWhiteSpaceMode condensed(true);
        pTable->Parse(pBuffer.get(), nullptr, TIXML_DEFAULT_ENCODING);
        bParsed = !pTable->Error();
    }
    if (!bParsed) {
        // A failed parse can leave the entries read before the error in place;
        // serving those would mix table texts with defaults, so none are served.
        pTable->Clear();
        DebugLog("CLanguageParser::LoadStringFile() return 4");
        return false;
    }
    return true;
}

bool CLanguageParser::FindString(const char* szKey, QString& strOut, const QString& strDefault) {
    const auto& pTable = CurrentTable();
    if (szKey == nullptr || !pTable) {
        strOut = strDefault;
        return false;
    }

    const TiXmlElement* pRoot = pTable->RootElement();
    if (pRoot == nullptr) {
        strOut = strDefault;
        DebugLog("CLanguageParser::FindString() return false 2 doc.RootElement() Fail");
        return false;
    }

    for (const TiXmlElement* pEntry = pRoot->FirstChildElement(); pEntry != nullptr;
         pEntry = pEntry->NextSiblingElement()) {
        if (std::strcmp(pEntry->Value(), "String") != 0) {
            continue;
        }
        const char* szEntryKey = pEntry->Attribute("Key");
        if (szEntryKey == nullptr || std::strcmp(szEntryKey, szKey) != 0) {
            continue;
        }
        const TiXmlNode* pFirst = pEntry->FirstChild();
        const TiXmlText* pText = pFirst != nullptr ? pFirst->ToText() : nullptr;
        strOut = pText != nullptr ? QString::fromUtf8(pText->Value()) : QString();
        return true;
    }

    strOut = strDefault;
    DebugLog("CLanguageParser::FindString() return false 3");
    return false;
}

void CLanguageParser::Release() { CurrentTable().reset(); }
