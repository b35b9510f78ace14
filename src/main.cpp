// Placeholder entry point until the start screen is wired in.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("Tarvo"));
    w.show();
    return app.exec();
}
