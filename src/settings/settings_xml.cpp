#include "settings/settings_xml.h"

#include <tinyxml.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The element's text: its first child when that is a text node, else none.
const char* ElementText(const TiXmlElement& element) {
    const TiXmlNode* pFirst = element.FirstChild();
    const TiXmlText* pText = pFirst != nullptr ? pFirst->ToText() : nullptr;
    return pText != nullptr ? pText->Value() : nullptr;
}

// The C library's decimal rule: leading white space, an optional sign, then digits;
// whatever follows is ignored and no digits give 0. An element without text gives 0
// too, and numbers beyond 32 bits saturate instead of wrapping.
int32_t ElementNumber(const TiXmlElement& element) {
    const char* szText = ElementText(element);
    if (szText == nullptr) {
        return 0;
    }
    const long long llValue = std::strtoll(szText, nullptr, 10);
    if (llValue > INT32_MAX) {
        return INT32_MAX;
    }
    if (llValue < INT32_MIN) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(llValue);
}

// A folder element without text leaves the folder as it was.
void ReadFolder(const TiXmlElement& element, QString& strFolder) {
    if (const char* szText = ElementText(element)) {
        strFolder = QString::fromUtf8(szText);
    }
}

bool IsNamed(const TiXmlElement& element, const char* szName) {
    return std::strcmp(element.Value(), szName) == 0;
}

template <typename Visit>
void ForEachChildElement(const TiXmlElement& parent, Visit visit) {
    for (const TiXmlElement* pChild = parent.FirstChildElement(); pChild != nullptr;
         pChild = pChild->NextSiblingElement()) {
        visit(*pChild);
    }
}

void ReadBasic(const TiXmlElement& section, PlayerSettings& stSettings) {
    ForEachChildElement(section, [&](const TiXmlElement& child) {
        if (IsNamed(child, "HighQuality")) {
            stSettings.bHighQuality = ElementNumber(child) != 0;
        } else if (IsNamed(child, "Deflash")) {
            stSettings.bDeflash = ElementNumber(child) != 0;
        } else if (IsNamed(child, "Priority")) {
            stSettings.nPriority = ElementNumber(child);
        } else if (IsNamed(child, "ThrowB")) {
            stSettings.nThrowB = ElementNumber(child);
        } else if (IsNamed(child, "PlayerTimerPrecision")) {
            stSettings.nPlayerTimerPrecision = ElementNumber(child);
        }
    });
}

void ReadHotKeys(const TiXmlElement& section, PlayerSettings& stSettings) {
    ForEachChildElement(section, [&](const TiXmlElement& child) {
        for (size_t i = 0; i < HOTKEY_ACTION_COUNT; ++i) {
            if (IsNamed(child, HotKeyActionName(static_cast<HotKeyAction>(i)))) {
                stSettings.stHotKeys[i] = HotKeyBinding::FromStoredValue(ElementNumber(child));
                break;
            }
        }
    });
}

void ReadCapture(const TiXmlElement& section, const char* szFolderName, const char* szTypeName,
                 QString& strFolder, int32_t& nType) {
    ForEachChildElement(section, [&](const TiXmlElement& child) {
        if (IsNamed(child, szFolderName)) {
            ReadFolder(child, strFolder);
        } else if (IsNamed(child, szTypeName)) {
            nType = ElementNumber(child);
        }
    });
}

void LinkIfMade(TiXmlElement& parent, std::unique_ptr<TiXmlElement> pChild) {
    if (pChild) {
        parent.LinkEndChild(pChild.release());
    }
}

}  // namespace

void ReadPlayerSettingElement(const TiXmlElement& element, PlayerSettings& stSettings) {
    ForEachChildElement(element, [&](const TiXmlElement& child) {
        if (IsNamed(child, "Language")) {
            stSettings.nLanguage = ElementNumber(child);
        } else if (IsNamed(child, "Basic")) {
            ReadBasic(child, stSettings);
        } else if (IsNamed(child, "HotKeys")) {
            ReadHotKeys(child, stSettings);
        } else if (IsNamed(child, "ImageControl")) {
            ForEachChildElement(child, [&](const TiXmlElement& option) {
                if (IsNamed(option, "Resolution")) {
                    stSettings.nResolution = ElementNumber(option);
                }
            });
        } else if (IsNamed(child, "Capture")) {
            ReadCapture(child, "CaptureFolder", "CaptureType", stSettings.strCaptureFolder,
                        stSettings.nCaptureType);
        } else if (IsNamed(child, "ConCapture")) {
            ReadCapture(child, "ConCaptureFolder", "ConCaptureType", stSettings.strConCaptureFolder,
                        stSettings.nConCaptureType);
        }
    });
}

void WritePlayerSettingElement(const PlayerSettings& stSettings, TiXmlElement& element) {
    LinkIfMade(element, MakeNumberElement("Language", stSettings.nLanguage));

    auto pBasic = std::make_unique<TiXmlElement>("Basic");
    LinkIfMade(*pBasic, MakeNumberElement("HighQuality", stSettings.bHighQuality ? 1 : 0));
    LinkIfMade(*pBasic, MakeNumberElement("Deflash", stSettings.bDeflash ? 1 : 0));
    LinkIfMade(*pBasic, MakeNumberElement("Priority", stSettings.nPriority));
    LinkIfMade(*pBasic, MakeNumberElement("ThrowB", stSettings.nThrowB));
    LinkIfMade(*pBasic,
               MakeNumberElement("PlayerTimerPrecision", stSettings.nPlayerTimerPrecision));
    element.LinkEndChild(pBasic.release());

    auto pHotKeys = std::make_unique<TiXmlElement>("HotKeys");
    for (size_t i = 0; i < HOTKEY_ACTION_COUNT; ++i) {
        LinkIfMade(*pHotKeys, MakeNumberElement(HotKeyActionName(static_cast<HotKeyAction>(i)),
                                                stSettings.stHotKeys[i].ToStoredValue()));
    }
    element.LinkEndChild(pHotKeys.release());

    auto pImageControl = std::make_unique<TiXmlElement>("ImageControl");
    LinkIfMade(*pImageControl, MakeNumberElement("Resolution", stSettings.nResolution));
    element.LinkEndChild(pImageControl.release());

    auto pCapture = std::make_unique<TiXmlElement>("Capture");
    LinkIfMade(*pCapture, MakeTextElement("CaptureFolder", stSettings.strCaptureFolder));
    LinkIfMade(*pCapture, MakeNumberElement("CaptureType", stSettings.nCaptureType));
    element.LinkEndChild(pCapture.release());

    auto pConCapture = std::make_unique<TiXmlElement>("ConCapture");
    LinkIfMade(*pConCapture, MakeTextElement("ConCaptureFolder", stSettings.strConCaptureFolder));
    LinkIfMade(*pConCapture, MakeNumberElement("ConCaptureType", stSettings.nConCaptureType));
    element.LinkEndChild(pConCapture.release());
}

std::unique_ptr<TiXmlElement> MakeTextElement(const char* szName, const QString& strText) {
    if (szName == nullptr || *szName == '\0' || strText.isEmpty()) {
        return nullptr;
    }
    // The whole text is written: cutting a folder path short would name another folder.
    auto pElement = std::make_unique<TiXmlElement>(szName);
    pElement->LinkEndChild(new TiXmlText(strText.toUtf8().constData()));
    return pElement;
}

std::unique_ptr<TiXmlElement> MakeNumberElement(const char* szName, int32_t nNumber) {
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, "%d", static_cast<int>(nNumber));
    return MakeTextElement(szName, QString::fromLatin1(szNumber));
}
