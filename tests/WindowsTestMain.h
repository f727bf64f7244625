#pragma once

// own
#include "Appearance.h"

// Qt
#include <QApplication>
#include <QtTest>

// Runs a Qt Test object with the application set up as the program sets it up.
inline int runWindowsTest(QObject& test, int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    tonarika::registerFontSubstitutions();
    return QTest::qExec(&test, argc, argv);
}
