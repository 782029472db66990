// The settings file loader over any bytes. A file that loads must save and
// load again to the same record: what the player wrote it must read back.

#include <cstddef>
#include <cstdint>

#include "fuzz_input_file.h"
#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static FuzzInputFile input(".xml");
    static FuzzInputFile saved(".xml");
    PlayerSettings stLoaded;
    if (!LoadPlayerSettings(QString::fromStdString(input.Write(pData, nSize)), stLoaded)) {
        if (!(stLoaded == PlayerSettings{})) __builtin_trap();  // a failed load changes nothing
        return 0;
    }
    const QString strSaved = QString::fromStdString(saved.Path());
    if (!SavePlayerSettings(stLoaded, strSaved)) __builtin_trap();
    PlayerSettings stReloaded;
    if (!LoadPlayerSettings(strSaved, stReloaded) || !(stReloaded == stLoaded)) __builtin_trap();
    return 0;
}
