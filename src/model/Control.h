#pragma once
// One control of a window, as its screen table defines it, with the run-time properties the
// behaviour reads and writes. Setters report a change to the window only when the value really
// changes; a caption change also raises the window's Change handler for that control.

#include "model/Types.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

class Window;

// The definition of one control: one row of a screen table.
struct ControlDef {
    Kind kind = Kind::Label;
    std::string_view name;
    int index = -1; // member of a control array when >= 0
    std::string_view container = {}; // empty: the window itself
    int containerIndex = -1;
    Twips rect {};
    std::string_view caption = {};
    std::optional<Bgr> back = {}; // empty: the platform's default for the kind
    std::optional<Bgr> fore = {};
    Font font = {};
    bool visible = true;
    bool enabled = true;
    int tabIndex = -1; // -1: takes no part in the tab order
    bool opaque = true; // labels: fill the rectangle with the background colour
    Align align = Align::Left;
    ShapeKind shape = ShapeKind::Rectangle;
    int borderPx = 1; // shapes: border width in pixels (0: no border)
    std::optional<Bgr> borderColor = {}; // shapes: empty means the default line colour
    bool frameLine = false; // frames and picture boxes: draw a frame line
    bool decorative = false; // only to be seen: a screen reader reads it through something else
    Dock dock = Dock::None; // picture boxes docked to a window edge
    int z = 0; // stacking among siblings of the same class: higher lies in front
    int intervalMs = 0; // timers
};

class Control {
public:
    // The row is kept as given, except that its texts become the control's own: a row may be
    // built from text that does not outlive the window.
    Control(Window& window, const ControlDef& def, Control* container);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Window& window() const { return *window_; }
    // The definition row, with its design-time values (its caption excepted: read caption()).
    // The accessors below read it, or the run-time state where the behaviour may change a
    // property.
    const ControlDef& def() const { return def_; }
    Kind kind() const { return def_.kind; }
    bool is(Kind k) const { return def_.kind == k; }
    const std::string& name() const { return name_; }
    int index() const { return def_.index; }
    bool is(std::string_view name, int index = -1) const
    {
        return name_ == name && def_.index == index;
    }
    Control* container() const { return container_; }
    int tabIndex() const { return def_.tabIndex; }
    // A button that TAB stops at.
    bool hasTabStop() const { return isButton(kind()) && tabIndex() >= 0; }
    bool opaque() const { return def_.opaque; }
    Align align() const { return def_.align; }
    ShapeKind shape() const { return def_.shape; }
    int borderPx() const { return def_.borderPx; }
    const std::optional<Bgr>& borderColor() const { return def_.borderColor; }
    bool frameLine() const { return def_.frameLine; }
    bool decorative() const { return def_.decorative; }
    Dock dock() const { return def_.dock; }
    int z() const { return def_.z; }
    // Timers.
    int interval() const { return def_.intervalMs; }

    const std::string& caption() const { return now_.caption; }
    void setCaption(std::string text);
    // The caption as drawn and read: CR, LF and CR LF each end a line.
    std::string shownCaption() const;

    const std::optional<Bgr>& backColor() const { return now_.back; }
    void setBackColor(Bgr c);
    const std::optional<Bgr>& foreColor() const { return def_.fore; }

    const Font& font() const { return now_.font; }
    void setFont(const Font& f);

    bool visible() const { return now_.visible; }
    void setVisible(bool v);
    bool enabled() const { return now_.enabled; }
    void setEnabled(bool e);
    // Visible and enabled, and so is every container up to the window.
    bool effectivelyVisible() const;
    bool effectivelyEnabled() const;

    // The option button's selected state.
    bool value() const { return now_.value; }
    void setValue(bool v);

    const Twips& rect() const { return now_.rect; }
    int left() const { return now_.rect.left; }
    int top() const { return now_.rect.top; }
    int width() const { return now_.rect.width; }
    int height() const { return now_.rect.height; }
    // One call for all four; refused (false, nothing changes) for a negative width or height.
    bool move(Twips r);
    bool setLeft(int v) { return move({ v, top(), width(), height() }); }
    bool setTop(int v) { return move({ left(), v, width(), height() }); }
    bool setWidth(int v) { return move({ left(), top(), v, height() }); }
    bool setHeight(int v) { return move({ left(), top(), width(), v }); }

    // Timers and menus have neither position nor size.
    bool hasGeometry() const { return def_.kind != Kind::Timer && def_.kind != Kind::Menu; }

private:
    // What the behaviour may change at run time; it starts as the row defines it.
    struct State {
        std::string caption;
        std::optional<Bgr> back;
        Font font;
        bool visible = true;
        bool enabled = true;
        bool value = false;
        Twips rect {};
    };

    void changed(Prop p);
    void placeDocked(Twips& r) const;

    Window* window_;
    Control* container_;
    std::string name_; // the row's name and container point at these
    std::string containerName_;
    ControlDef def_;
    State now_;

    friend class Window;
};

// Paint order among the controls of one container: labels and shapes lie behind the child
// windows (frames, pictures, buttons); within each class a higher z lies in front. For a stable
// sort, so that a later control lies in front of an earlier one of the same z.
inline bool drawnBelow(const Control* a, const Control* b)
{
    const int ca = isButton(a->kind()) || isContainer(a->kind()) ? 1 : 0;
    const int cb = isButton(b->kind()) || isContainer(b->kind()) ? 1 : 0;
    return ca != cb ? ca < cb : a->z() < b->z();
}

// Puts controls in the order `before` gives, stably: equal ones keep their order, which is the
// order of creation for a list taken from Window::controls(). Every ordering of controls goes
// through these two, so that the web page carries the sort once rather than once per ordering.
using ControlOrder = bool (*)(const Control*, const Control*);
void sortControls(std::vector<Control*>& list, ControlOrder before);
void sortControls(std::vector<const Control*>& list, ControlOrder before);

} // namespace tarvo
