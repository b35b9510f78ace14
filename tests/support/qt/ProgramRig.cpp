#include "ProgramRig.h"

#include "Describe.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QTest>

namespace tarvo::test {

QWidget* ProgramRig::view(ScreenId id) const
{
    const Window* w = window(id);
    return w ? platform.viewFor(*w) : nullptr;
}

QWidget* ProgramRig::widget(ScreenId id, const char* name, int index) const
{
    QWidget* v = view(id);
    if (!v)
        return nullptr;
    return v->findChild<QWidget*>(QString::fromStdString(describe(name, index)));
}

Control* ProgramRig::qtFocus(ScreenId id) const
{
    QWidget* fw = QApplication::focusWidget();
    const Window* w = window(id);
    if (!fw || !w)
        return nullptr;
    for (const auto& c : w->controls())
        if (platform.widgetFor(*c) == fw)
            return c.get();
    return nullptr;
}

bool ProgramRig::begin()
{
    QApplication::setQuitOnLastWindowClosed(false);
    program.start();
    QWidget* v = view(ScreenId::Inizio);
    return v && QTest::qWaitForWindowActive(v);
}

void ProgramRig::beginOnFirstChoice()
{
    QVERIFY(begin());
    QTRY_COMPARE(QApplication::focusWidget(), widget(ScreenId::Inizio, "Option1", 0));
}

void ProgramRig::openGame(int centre)
{
    QTest::mouseClick(widget(ScreenId::Inizio, "Option1", centre - 10), Qt::LeftButton);
    QTRY_COMPARE(QApplication::focusWidget(), widget(ScreenId::Inizio, "Option2", 0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(view(ScreenId::Operativo));
    QVERIFY(QTest::qWaitForWindowActive(view(ScreenId::Operativo)));
}

bool ProgramRig::beginAndOpenGame(int centre)
{
    beginOnFirstChoice();
    if (QTest::currentTestFailed())
        return false;
    openGame(centre);
    return !QTest::currentTestFailed();
}

void ProgramRig::press(int index)
{
    QTest::mouseClick(widget(ScreenId::Operativo, "Option1", index), Qt::LeftButton);
}

void ProgramRig::answer(int value)
{
    for (char digit : std::to_string(value))
        press(digit - '0');
}

void ProgramRig::key(Qt::Key k, Qt::KeyboardModifiers mods)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (target)
        QTest::keyClick(target, k, mods);
}

void ProgramRig::holdKey(Qt::Key k, const QString& text, int repeats)
{
    QPointer<QWidget> target = QApplication::focusWidget();
    if (!target)
        return;
    QTest::simulateEvent(target, true, k, Qt::NoModifier, text, false);
    for (int i = 0; i < repeats && target; ++i)
        QTest::simulateEvent(target, true, k, Qt::NoModifier, text, true);
    if (QApplication::focusWidget())
        QTest::simulateEvent(QApplication::focusWidget(), false, k, Qt::NoModifier, text, false);
}

void ProgramRig::mouse(ScreenId id, const char* name, int index, Qt::MouseButton b)
{
    QPointer<QWidget> w = widget(id, name, index);
    if (!w)
        return;
    QTest::mousePress(w, b);
    if (w)
        QTest::mouseRelease(w, b);
}

void ProgramRig::clickMenu(ScreenId id, const char* entry)
{
    auto* mw = qobject_cast<QMainWindow*>(view(id));
    QAction* a = mw ? platform.actionFor(window(id)->at(entry)) : nullptr;
    if (!a)
        return;
    QMenuBar* bar = mw->menuBar();
    const QPoint at = bar->actionGeometry(a).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, at);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
}

QColor ProgramRig::shown(ScreenId id, const char* name, int index) const
{
    QWidget* w = widget(id, name, index);
    if (!w || w->width() < 4 || w->height() < 4)
        return {};
    return w->grab().toImage().pixelColor(2, w->height() - 3);
}

int ProgramRig::execWith(const std::function<void()>& action, int boundMs)
{
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    bound.start(boundMs);
    QTimer::singleShot(0, &bound, action);
    return QCoreApplication::exec();
}

ModalCloser::ModalCloser(ProgramRig& rig, ScreenId id)
    : rig_(rig)
    , id_(id)
{
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
}

void ModalCloser::poll()
{
    QWidget* v = rig_.view(id_);
    if (v && v->isVisible()) {
        timer_.stop();
        sawModal = QApplication::activeModalWidget() == v;
        title = v->windowTitle();
        if (QWidget* button = v->findChild<QWidget*>(QStringLiteral("Command1"))) {
            QTest::mouseClick(button, Qt::LeftButton);
            closedByButton = !rig_.program.isLoaded(id_);
        }
        if (rig_.program.isLoaded(id_))
            rig_.program.unload(id_);
        return;
    }
    if (++tries_ > 500) {
        timer_.stop();
        rig_.program.unload(id_);
    }
}

} // namespace tarvo::test
