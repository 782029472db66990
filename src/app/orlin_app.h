#pragma once

#include <QStringList>

// The application object: starts the window system's side of the program,
// runs the main window modally and returns when it has closed.
class COrlinApp {
public:
    // Returns the process's exit code.
    int Run(const QStringList& arguments);
};
