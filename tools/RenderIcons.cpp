// Writes the program icon as the files a desktop's icon theme wants:
//   render-icons OUTPUT_FOLDER NAME   writes OUTPUT_FOLDER/<size>x<size>/apps/NAME.png
//                                     and OUTPUT_FOLDER/scalable/apps/NAME.svg
// They are the theme icon: the program's own pictures on a light backdrop, so that the
// menu entry reads on a dark panel as on a light one.

// own
#include "Appearance.h"

// Qt
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

// std
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: render-icons OUTPUT_FOLDER NAME\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString out = QFile::decodeName(argv[1]);
    const QString name = QFile::decodeName(argv[2]);
    const auto folder = [&out](const QString& size) {
        const QString path = QStringLiteral("%1/%2/apps").arg(out, size);
        QDir().mkpath(path);
        return path + QLatin1Char('/');
    };
    for (const int size : tonarika::kThemeIconSizes) {
        const QString path = folder(QStringLiteral("%1x%1").arg(size)) + name + QStringLiteral(".png");
        if (!tonarika::themeIconImage(size).save(path)) {
            std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    QFile svg(folder(QStringLiteral("scalable")) + name + QStringLiteral(".svg"));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(tonarika::themeIconSvg()) < 0) {
        std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    return 0;
}
