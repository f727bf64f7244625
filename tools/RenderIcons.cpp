// Writes the program icon as the PNG files a desktop's icon theme wants:
//   render-icons OUTPUT_FOLDER NAME   writes OUTPUT_FOLDER/<size>x<size>/apps/NAME.png
// The images are those the running program offers its windows, so the menu entry, the
// taskbar and the window show one picture.

// own
#include "Appearance.h"

// Qt
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

// std
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: render-icons OUTPUT_FOLDER NAME\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QIcon icon = tonarika::programIcon();
    for (const QSize size : icon.availableSizes()) {
        const QString folder = QStringLiteral("%1/%2x%3/apps").arg(out).arg(size.width()).arg(size.height());
        QDir().mkpath(folder);
        if (!icon.pixmap(size).toImage().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
