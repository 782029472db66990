// Writes the settings loader's seed corpus into the folder named on the command
// line: the file the player saves with its defaults and with every field
// changed, and a few hand-written files that exercise the loader's edges.

#include <QString>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "settings/settings_file.h"

namespace fs = std::filesystem;

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    PlayerSettings stDefaults;
    bool bOk =
        SavePlayerSettings(stDefaults, QString::fromStdString((dir / "defaults.xml").string()));

    PlayerSettings stChanged;
    stChanged.nLanguage = 6;
    stChanged.bHighQuality = false;
    stChanged.nThrowB = 2;
    stChanged.stHotKeys[0] = HotKeyBinding::FromStoredValue(131155);
    stChanged.strCaptureFolder = QStringLiteral("/tmp/snaps \u00e4 & <x>");
    stChanged.nConCaptureType = 1;
    bOk = SavePlayerSettings(stChanged, QString::fromStdString((dir / "changed.xml").string())) &&
          bOk;

    const std::pair<const char*, const char*> handWritten[] = {
        {"two_sections.xml",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Root><PlayerSetting><Language>2</Language>"
         "</PlayerSetting><PlayerSetting><Language>6</Language></PlayerSetting></Root>"},
        {"latin1.xml",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><x><PlayerSetting>"
         "<Capture><CaptureFolder>\xe9t\xe9</CaptureFolder></Capture></PlayerSetting></x>"},
        {"numbers.xml",
         "<r><PlayerSetting><Language>-2147483649</Language><HotKeys><Stop>0x7f</Stop></HotKeys>"
         "</PlayerSetting></r>"},
    };
    for (const auto& [szName, szText] : handWritten) {
        std::ofstream(dir / szName, std::ios::binary) << szText;
    }
    return bOk ? 0 : 1;
}
