#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The tools' side libraries, loaded on demand from the engine's folder
// and kept loaded for the rest of the run.

// Where `strFileName` is looked for: beside the engine library.
QString SideLibraryPath(const QString& strFileName);

// Loads `strFileName` from beside the engine; true when it is loaded.
bool LoadSideLibrary(const QString& strFileName);

// The handle of a library that LoadSideLibrary loaded, for looking up its
// functions; null when it is not loaded.
void* SideLibraryModule(const QString& strFileName);

// Loads every library in order, always all of them, and returns the first
// that failed, or an empty string when all loaded.
QString FirstMissingLibrary(const QStringList& fileNames,
                            const std::function<bool(const QString&)>& load);

// The enhancement library; the engine loads it from its own folder.
inline constexpr const char* ENHANCE_LIBRARY = "liblumora.so";
// Whether the enhancement library lies in `strFolder`.
bool EnhanceLibraryIn(const QString& strFolder);

// "Need " followed by the library's file name, in the current language.
QString NeedLibraryText(const QString& strFileName);
