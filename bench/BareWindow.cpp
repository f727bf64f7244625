// The yardstick for how soon a window can be on the screen: a Qt Widgets window with
// one button, and nothing else.

// Qt
#include <QApplication>
#include <QPushButton>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QPushButton button(QStringLiteral("Listen"));
    button.setWindowTitle(QStringLiteral("bare"));
    button.show();
    return QApplication::exec();
}
