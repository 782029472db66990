#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef ORLIN_TEST_SCALE_FACTOR
    // Must be set before Qt starts; it then applies to the offscreen screen too.
    qputenv("QT_SCALE_FACTOR", ORLIN_TEST_SCALE_FACTOR);
#endif
    // Settings written by the shell under test land in a folder of this run only.
    QTemporaryDir configDir;
    qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("OrlinTests"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
