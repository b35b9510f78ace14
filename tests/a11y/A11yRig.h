#pragma once
// The whole program on the Qt platform, in this process, with a clock and a random source of the
// test's own: the first tarvo's subtrahends are 7, 1, 2, 3, 4, 5, 6, 8.

#include "app/Program.h"
#include "qt/QtPlatform.h"

#include <QTest>
#include <QWidget>

#include <array>

namespace tarvo::test {

class FixedClock final : public Clock {
public:
    double secondsSinceMidnight() override { return 43200.5; }
};

// Draws from a fixed cycle, whatever the seed; a draw v gives the subtrahend v * 10 + 1.
class CycleRandom final : public RandomSource {
public:
    void seed(double) override { next_ = 0; }
    double next() override
    {
        const double r = cycle_[next_];
        next_ = (next_ + 1) % cycle_.size();
        return r;
    }

private:
    std::array<double, 10> cycle_ { 0.65, 0.05, 0.15, 0.25, 0.35, 0.45, 0.55, 0.75, 0.85, 0.95 };
    std::size_t next_ = 0;
};

class NoFile final : public FileProbe {
public:
    bool probeReadable(const std::string&) override { return false; }
};

struct A11yRig {
    qt::QtPlatform platform;
    FixedClock clock;
    CycleRandom rng;
    NoFile probe;
    Program program { platform, clock, rng, probe };

    Window& window(ScreenId id) { return *program.window(id); }
    QWidget* view(ScreenId id) { return platform.viewFor(window(id)); }
    QWidget* widget(ScreenId id, std::string_view name, int index = -1)
    {
        return platform.widgetFor(window(id).at(name, index));
    }

    // Starts the program and waits for the start screen to be active with "10" focused.
    void start()
    {
        program.start();
        QVERIFY(QTest::qWaitForWindowActive(view(ScreenId::Inizio)));
        QTRY_COMPARE(QApplication::focusWidget(), widget(ScreenId::Inizio, "Option1", 0));
    }

    // Chooses the tarvo of `centre` with the mouse, then "Vai" by ENTER (the choice has moved
    // the focus there), and waits for the game screen to be active.
    void openGame(int centre)
    {
        QTest::mouseClick(widget(ScreenId::Inizio, "Option1", centre - 10), Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), widget(ScreenId::Inizio, "Option2", 0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(program.window(ScreenId::Operativo) && view(ScreenId::Operativo));
        QVERIFY(QTest::qWaitForWindowActive(view(ScreenId::Operativo)));
    }

    // A keypad button of the game screen pressed with the mouse.
    void press(int index)
    {
        QTest::mouseClick(widget(ScreenId::Operativo, "Option1", index), Qt::LeftButton);
    }
    void answer(int value)
    {
        for (char digit : std::to_string(value))
            press(digit - '0');
    }
};

} // namespace tarvo::test
