#pragma once
// One control of a window, as its screen table defines it, with the run-time properties the
// behaviour reads and writes. Setters report a change to the window only when the value really
// changes; a caption change also raises the window's Change handler for that control.

#include "model/Types.h"

#include <string>
#include <string_view>

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
    Control(Window& window, const ControlDef& def, Control* container);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Window& window() const { return *window_; }
    Kind kind() const { return kind_; }
    bool is(Kind k) const { return kind_ == k; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }
    bool is(std::string_view name, int index = -1) const
    {
        return name_ == name && index_ == index;
    }
    Control* container() const { return container_; }
    int tabIndex() const { return tabIndex_; }
    bool opaque() const { return opaque_; }
    Align align() const { return align_; }
    ShapeKind shape() const { return shape_; }
    int borderPx() const { return borderPx_; }
    const std::optional<Bgr>& borderColor() const { return borderColor_; }
    bool frameLine() const { return frameLine_; }
    bool decorative() const { return decorative_; }
    Dock dock() const { return dock_; }
    int z() const { return z_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);

    const std::optional<Bgr>& backColor() const { return back_; }
    void setBackColor(Bgr c);
    const std::optional<Bgr>& foreColor() const { return fore_; }
    void setForeColor(Bgr c);

    const Font& font() const { return font_; }
    void setFont(const Font& f);

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    // Visible and enabled, and so is every container up to the window.
    bool effectivelyVisible() const;
    bool effectivelyEnabled() const;

    // The option button's selected state.
    bool value() const { return value_; }
    void setValue(bool v);

    const Twips& rect() const { return rect_; }
    int left() const { return rect_.left; }
    int top() const { return rect_.top; }
    int width() const { return rect_.width; }
    int height() const { return rect_.height; }
    // One call for all four; refused (false, nothing changes) for a negative width or height.
    bool move(Twips r);
    bool setLeft(int v) { return move({ v, rect_.top, rect_.width, rect_.height }); }
    bool setTop(int v) { return move({ rect_.left, v, rect_.width, rect_.height }); }
    bool setWidth(int v) { return move({ rect_.left, rect_.top, v, rect_.height }); }
    bool setHeight(int v) { return move({ rect_.left, rect_.top, rect_.width, v }); }

    // Timers.
    int interval() const { return interval_; }
    void setInterval(int ms);

    // Whether a property exists on this kind (timers have no size, menus no geometry at all).
    bool hasPosition() const { return kind_ != Kind::Timer && kind_ != Kind::Menu; }
    bool hasSize() const { return kind_ != Kind::Timer && kind_ != Kind::Menu; }

private:
    void changed(Prop p);
    void placeDocked(Twips& r) const;

    Window* window_;
    Kind kind_;
    std::string name_;
    int index_;
    Control* container_;
    int tabIndex_;
    bool opaque_;
    Align align_;
    ShapeKind shape_;
    int borderPx_;
    std::optional<Bgr> borderColor_;
    bool frameLine_;
    bool decorative_;
    Dock dock_;
    int z_;

    std::string caption_;
    std::optional<Bgr> back_;
    std::optional<Bgr> fore_;
    Font font_;
    bool visible_;
    bool enabled_;
    bool value_ = false;
    Twips rect_;
    int interval_;

    friend class Window;
};

} // namespace tarvo
