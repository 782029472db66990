#include <QApplication>

#include "app/orlin_app.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The settings folder is named after the application.
    QCoreApplication::setApplicationName(QStringLiteral("Orlin"));
    COrlinApp orlinApp;
    return orlinApp.Run(QCoreApplication::arguments());
}
