// The floor: the classic minimal Qt Widgets program, one maximised window showing one line of
// text on a background colour. Text is part of the floor because any program that shows words
// pays for the font set-up before its first frame.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel w(QStringLiteral("Ciao, mondo"));
    w.setWindowTitle(QStringLiteral("floor"));
    w.setAlignment(Qt::AlignCenter);
    QPalette p = w.palette();
    p.setColor(QPalette::Window, QColor(255, 224, 192));
    w.setPalette(p);
    w.setAutoFillBackground(true);
    w.showMaximized();
    return app.exec();
}
