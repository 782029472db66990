#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <memory>
#include <optional>
#include <string>

#include "lang/scoped_white_space_mode.h"
#include "lang/xml_depth_guard.h"
#include "settings/atomic_file.h"
#include "settings/settings_xml.h"

namespace {

constexpr char kSettingsFileName[] = "{87951D8D-1F4B-4b2b-8515-E5E983018EAE}.xml";

// A real settings file is about a kilobyte; anything far larger is not one, and
// reading it whole would only waste memory.
constexpr off_t kMaxSettingsFileBytes = 1 << 20;

// A settings file has about thirty elements. The bound keeps a hostile file from
// nesting deep enough to exhaust the stack during the parse.
constexpr size_t kMaxSettingsElements = 1024;

// Reads `strPath` whole when it is a regular file of plausible size. A directory, a
// FIFO (which would block) or a device is refused before anything is read.
std::optional<std::string> ReadSettingsFile(const QString& strPath) {
    const int fd =
        ::open(QFile::encodeName(strPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<std::string> contents;
    struct stat stInfo;
    if (::fstat(fd, &stInfo) == 0 && S_ISREG(stInfo.st_mode) &&
        stInfo.st_size <= kMaxSettingsFileBytes) {
        std::string strBytes;
        char buffer[4096];
        ssize_t nRead = 0;
        while ((nRead = ::read(fd, buffer, sizeof buffer)) > 0 &&
               strBytes.size() <= static_cast<size_t>(kMaxSettingsFileBytes)) {
            strBytes.append(buffer, static_cast<size_t>(nRead));
        }
        if (nRead == 0) {
            contents = std::move(strBytes);
        }
    }
    ::close(fd);
    return contents;
}

// Line ends become "\n" before parsing, as TinyXML does when it loads a file itself.
void NormalizeLineEnds(std::string& strText) {
    size_t nOut = 0;
    for (size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] == '\r') {
            strText[nOut++] = '\n';
            if (i + 1 < strText.size() && strText[i + 1] == '\n') {
                ++i;
            }
        } else {
            strText[nOut++] = strText[i];
        }
    }
    strText.resize(nOut);
}

std::string PrintDocument(const TiXmlDocument& document) {
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    printer.SetLineBreak("\r\n");
    document.Accept(&printer);
    return std::string(printer.CStr(), printer.Size());
}

}  // namespace

QString SettingsFilePath() {
    const QString strFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (strFolder.isEmpty()) {
        return QString();
    }
    return strFolder + QLatin1Char('/') + QLatin1String(kSettingsFileName);
}

bool LoadPlayerSettings(const QString& strPath, PlayerSettings& stSettings) {
    if (strPath.isEmpty()) {
        return false;
    }
    std::optional<std::string> contents = ReadSettingsFile(strPath);
    if (!contents || !HasAtMostXmlElements(*contents, kMaxSettingsElements)) {
        return false;
    }
    NormalizeLineEnds(*contents);
    contents->append(kXmlTerminatorBytes, '\0');

    TiXmlDocument document;
    {
        // Read verbatim: condensing would turn a folder such as "My  Videos" into
        // another folder on every start.
        ScopedWhiteSpaceMode verbatim(false);
        document.Parse(contents->c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    }
    if (document.Error()) {
        return false;
    }
    const TiXmlElement* pRoot = document.RootElement();
    if (pRoot == nullptr) {
        return false;
    }

    for (const TiXmlElement* pSection = pRoot->FirstChildElement("PlayerSetting");
         pSection != nullptr; pSection = pSection->NextSiblingElement("PlayerSetting")) {
        ReadPlayerSettingElement(*pSection, stSettings);
    }
    return true;
}

bool SavePlayerSettings(const PlayerSettings& stSettings, const QString& strPath) {
    if (strPath.isEmpty()) {
        return false;
    }

    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* pRoot = new TiXmlElement("Config");
    document.LinkEndChild(pRoot);
    auto pPlayerSetting = std::make_unique<TiXmlElement>("PlayerSetting");
    WritePlayerSettingElement(stSettings, *pPlayerSetting);
    pRoot->LinkEndChild(pPlayerSetting.release());

    return WriteFileAtomically(strPath, PrintDocument(document));
}
