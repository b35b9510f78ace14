// A QApplication and one maximised window with a background colour: nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("floor"));
    QPalette p = w.palette();
    p.setColor(QPalette::Window, QColor(255, 224, 192));
    w.setPalette(p);
    w.setAutoFillBackground(true);
    w.showMaximized();
    return app.exec();
}
