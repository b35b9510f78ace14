#pragma once
// What a screen reader is told about the controls of a window: whether a control is in the
// reader's tree at all, as what, and the words it reads. The behaviour side writes the words (it
// knows what a window means); a binding only asks, through the reader the program hands to the
// platform (Platform::reader()), and turns the answers into its toolkit's accessibility.

#include <cstdint>
#include <string>
#include <vector>

namespace tarvo {

class Control;
class Window;

enum class ReaderRole : std::uint8_t {
    None, // not in the reader's tree: decoration, curtains, parts of a larger text
    Text, // static text
    Button, // push button
    Group, // frame or picture box holding readable controls
};

class Reader {
public:
    virtual ~Reader() = default;
    // Fixed for the life of a window (a hidden control stays in the tree, marked invisible).
    virtual ReaderRole role(const Control& c) const = 0;
    // The words read for a control, line breaks as '\n'.
    virtual std::string name(const Control& c) const = 0;
    // What a reader adds after the name (a verdict, say); empty for most controls.
    virtual std::string description(const Control& c) const = 0;
    // The controls held directly by `in` (null: the window itself) that are in the reader's
    // tree, in reading order.
    virtual std::vector<const Control*> children(const Window& w, const Control* in) const = 0;
};

} // namespace tarvo
