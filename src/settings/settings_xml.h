#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "settings/player_settings.h"

class TiXmlElement;

// Applies the children of one "PlayerSetting" element to `stSettings`, in document
// order. Names are matched exactly; unknown elements are ignored and a section that
// occurs twice is applied twice. Fields the element does not supply keep their value.
void ReadPlayerSettingElement(const TiXmlElement& element, PlayerSettings& stSettings);

// Appends the sections "Language", "Basic", "HotKeys", "ImageControl", "Capture" and
// "ConCapture" with every field of `stSettings` to `element`.
void WritePlayerSettingElement(const PlayerSettings& stSettings, TiXmlElement& element);

// An element holding one text node; none at all when the name or the text is empty.
std::unique_ptr<TiXmlElement> MakeTextElement(const char* szName, const QString& strText);

// An element holding `nNumber` in decimal.
std::unique_ptr<TiXmlElement> MakeNumberElement(const char* szName, int32_t nNumber);
