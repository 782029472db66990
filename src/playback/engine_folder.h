#pragma once

#include <QString>

// The folder the engine library was loaded from. The side libraries live
// beside the engine: in the build tree that is the program's own folder, in
// an installed tree the private library folder the program's run path names.
// Falls back to the program's folder when the engine's location is unknown.
QString EngineFolder();
