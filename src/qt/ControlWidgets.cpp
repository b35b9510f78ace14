#include "qt/ControlWidgets.h"

#include "qt/KeyMap.h"

#include "model/Look.h"
#include "model/Platform.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <optional>

namespace tarvo::qt {

namespace {

// One line of an edge: `topLeft` along the top and left, `bottomRight` along the others.
void drawLine(QPainter& p, const QRect& r, Bgr topLeft, Bgr bottomRight, int width)
{
    p.fillRect(QRect(r.left(), r.top(), r.width(), width), toQColor(topLeft));
    p.fillRect(QRect(r.left(), r.top(), width, r.height()), toQColor(topLeft));
    p.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), toQColor(bottomRight));
    p.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), toQColor(bottomRight));
}

// The model's edge of two lines, each `b` pixels wide.
void drawEdge(QPainter& p, const QRect& r, const look::Edge& e, int b)
{
    drawLine(p, r, e.outerTopLeft, e.outerBottomRight, b);
    drawLine(p, r.adjusted(b, b, -b, -b), e.innerTopLeft, e.innerBottomRight, b);
}

std::optional<MouseButton> modelButton(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return std::nullopt;
    }
}

} // namespace

DrawnWidget::DrawnWidget(ViewHost& host, Control* control, QWidget* parent)
    : QWidget(parent)
    , host_(host)
    , control_(control)
{
    if (control_ && !isContainer(control_->kind()))
        setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // Widgets that fill their whole rectangle say so: Qt then paints nothing they cover (the
    // closed curtains hide the whole screen at the first paint).
    const bool fills = !control_ || isContainer(control_->kind())
        || (control_->is(Kind::Label) && control_->opaque());
    setAttribute(Qt::WA_OpaquePaintEvent, fills);
}

QPoint DrawnWidget::clientOrigin() const
{
    if (control_ && control_->is(Kind::PictureBox) && control_->frameLine())
        return QPoint(
            look::ClientInset * host_.scale().bevel(), look::ClientInset * host_.scale().bevel());
    return QPoint(0, 0);
}

void DrawnWidget::paintEvent(QPaintEvent*)
{
    Window* w = host_.model();
    if (!w)
        return;
    QPainter p(this);
    if (!control_) {
        p.fillRect(rect(), toQColor(w->backColor()));
        return;
    }
    switch (control_->kind()) {
    case Kind::Label:
        paintLabel(p);
        break;
    case Kind::Shape:
        paintShape(p);
        break;
    case Kind::Frame:
        paintFrame(p);
        break;
    case Kind::PictureBox:
        paintPicture(p);
        break;
    default:
        break;
    }
}

void DrawnWidget::paintLabel(QPainter& p)
{
    const Control& c = *control_;
    if (c.opaque())
        p.fillRect(rect(), toQColor(c.backColor().value_or(look::Face)));
    const QString text = QString::fromStdString(c.shownCaption());
    if (text.isEmpty())
        return;
    p.setPen(toQColor(isEnabled() ? c.foreColor().value_or(look::Ink) : look::DisabledInk));
    p.setFont(font());
    const int horizontal = c.align() == Align::Center ? Qt::AlignHCenter : Qt::AlignLeft;
    p.drawText(rect(), horizontal | Qt::AlignTop | Qt::TextWordWrap, text);
}

void DrawnWidget::paintShape(QPainter& p)
{
    const Control& c = *control_;
    p.setRenderHint(QPainter::Antialiasing);
    const double pen = host_.scale().lineWidth(c.borderPx());
    QRectF r = rect();
    if (c.shape() == ShapeKind::Circle) {
        const double side = std::min(r.width(), r.height());
        r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    // The border lies inside the shape's rectangle.
    r.adjust(pen / 2, pen / 2, -pen / 2, -pen / 2);
    if (const auto& back = c.backColor())
        p.setBrush(toQColor(*back));
    else
        p.setBrush(Qt::NoBrush);
    if (pen > 0) {
        QPen line(toQColor(c.borderColor().value_or(look::Ink)), pen);
        line.setJoinStyle(Qt::MiterJoin);
        p.setPen(line);
    } else {
        p.setPen(Qt::NoPen);
    }
    switch (c.shape()) {
    case ShapeKind::Circle:
        p.drawEllipse(r);
        break;
    case ShapeKind::RoundedRectangle: {
        const double radius = look::cornerRadius(r.width(), r.height());
        p.drawRoundedRect(r, radius, radius);
        break;
    }
    case ShapeKind::Rectangle:
        p.drawRect(r);
        break;
    }
}

void DrawnWidget::paintFrame(QPainter& p)
{
    const Control& c = *control_;
    const QColor back = toQColor(c.backColor().value_or(look::Face));
    p.fillRect(rect(), back);
    const QString caption = QString::fromStdString(c.shownCaption());
    const QFontMetrics fm(font());
    if (c.frameLine()) {
        // An etched line, starting half a text line down when there is a caption.
        const int b = host_.scale().bevel();
        const int top = caption.isEmpty() ? 0 : fm.height() / 2;
        const QRect r = rect().adjusted(0, top, 0, 0);
        p.setPen(Qt::NoPen);
        drawEdge(p, r, look::Etched, b);
    }
    if (!caption.isEmpty()) {
        const int x = fm.averageCharWidth();
        QRect textRect(x, 0, fm.horizontalAdvance(caption) + x, fm.height());
        p.fillRect(textRect, back);
        p.setFont(font());
        p.setPen(toQColor(c.foreColor().value_or(look::Ink)));
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignTop, QStringLiteral(" ") + caption);
    }
}

void DrawnWidget::paintPicture(QPainter& p)
{
    const Control& c = *control_;
    p.fillRect(rect(), toQColor(c.backColor().value_or(look::Face)));
    if (c.frameLine())
        drawEdge(p, rect(), look::Sunken, host_.scale().bevel());
}

ButtonWidget::ButtonWidget(ViewHost& host, Control& control, QWidget* parent)
    : QPushButton(parent)
    , host_(host)
    , control_(control)
{
    // The focus comes by Tab, by the program, or by a left press (the mouse road); never by Qt's
    // own click-to-focus, which would also take it on the right and middle buttons.
    setFocusPolicy(control.tabIndex() >= 0 ? Qt::TabFocus : Qt::NoFocus);
    setCheckable(false);
    setAutoDefault(false);
    setAttribute(Qt::WA_OpaquePaintEvent); // the face fills the whole button
    setAccessibleName(QString::fromStdString(control.caption()));
}

void ButtonWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const Scale& s = host_.scale();
    const int b = s.bevel();
    const Bgr face = control_.backColor().value_or(look::Face);
    const QRect r = rect();
    p.fillRect(r, toQColor(face));
    drawEdge(p, r, look::raised(face), b);

    const int text = look::TextInset * b;
    const QRect textRect = r.adjusted(text, text, -text, -text);
    const QString caption = QString::fromStdString(control_.shownCaption());
    const int flags = Qt::AlignCenter | Qt::TextWordWrap;
    p.setFont(font());
    if (isEnabled()) {
        p.setPen(toQColor(control_.foreColor().value_or(look::Ink)));
        p.drawText(textRect, flags, caption);
    } else {
        const int offset = look::EngraveOffset * b;
        p.setPen(toQColor(look::EngravedLight));
        p.drawText(textRect.translated(offset, offset), flags, caption);
        p.setPen(toQColor(look::EngravedInk));
        p.drawText(textRect, flags, caption);
    }
    if (hasFocus()) {
        QPen dots(toQColor(look::Ink), 1, Qt::DotLine);
        p.setPen(dots);
        p.setBrush(Qt::NoBrush);
        const int mark = look::FocusInset * b;
        p.drawRect(r.adjusted(mark, mark, -mark - 1, -mark - 1));
    }
}

void ButtonWidget::keyPressEvent(QKeyEvent* e)
{
    // QPushButton's own handling would click on SPACE and ENTER: never called.
    e->accept();
    host_.keyPressed(&control_, *e);
}

void ButtonWidget::keyReleaseEvent(QKeyEvent* e)
{
    e->accept();
    host_.keyReleased(*e);
}

std::optional<ButtonWidget::Hit> ButtonWidget::hit(QMouseEvent* e) const
{
    // Accepted either way: QPushButton's own press and release handling must never run.
    e->accept();
    const auto button = modelButton(e->button());
    Window* w = host_.model();
    if (!button || !w || !w->platform())
        return std::nullopt;
    return Hit { *w, *button, shiftState(e->modifiers()) };
}

void ButtonWidget::press(QMouseEvent* e)
{
    if (const auto h = hit(e))
        h->window.platform()->mouse().press(h->window, control_, h->button, h->shift);
}

void ButtonWidget::mousePressEvent(QMouseEvent* e)
{
    press(e);
}

void ButtonWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    // The second press of a double click is a press like any other.
    press(e);
}

void ButtonWidget::mouseReleaseEvent(QMouseEvent* e)
{
    // Qt gives the release to the button the press went down on, wherever the pointer is now.
    if (const auto h = hit(e))
        h->window.platform()->mouse().release(
            h->window, h->button, h->shift, rect().contains(e->position().toPoint()));
}

void ButtonWidget::mouseMoveEvent(QMouseEvent* e)
{
    e->accept();
}

// QPushButton's focus handlers (Qt 6.4) manage a dialog's default button, and QAbstractButton's
// fix the focus policy of an exclusive group and release a button held down. These buttons are
// no auto-default, not checkable, in no group, and never go down (their key and mouse handling
// bypasses Qt's), so the chain does nothing for them but QWidget's repaint; it is kept whole so
// that a later use of those features behaves as Qt documents.
void ButtonWidget::focusInEvent(QFocusEvent* e)
{
    QPushButton::focusInEvent(e);
    host_.syncFocus();
}

void ButtonWidget::focusOutEvent(QFocusEvent* e)
{
    QPushButton::focusOutEvent(e);
    host_.syncFocus();
}

} // namespace tarvo::qt
