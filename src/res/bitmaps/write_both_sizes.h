#pragma once

// The shared main of the bitmap generators: draws a picture once at its size
// into OUTPUT.png and once at twice its size, for high-density screens, into
// OUTPUT@2x.png beside it. `draw` paints in the picture's own pixels on an
// image whose device pixel ratio is the scale it is given.

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>

template <typename Draw>
int WriteBothSizes(int argc, char* argv[], Draw draw) {
    QGuiApplication app(argc, argv);
    const QString strPath = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!strPath.endsWith(QLatin1String(".png"))) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const bool bOk = draw(1).save(strPath, "PNG") &&
                     draw(2).save(strPath.chopped(4) + QStringLiteral("@2x.png"), "PNG");
    return bOk ? 0 : 1;
}
