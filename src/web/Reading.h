#pragma once
// What the page gives a screen reader of a control beside what it shows: its reader role as
// attributes, and the reader's words where they are not the text as shown. A button or a group
// is named by them (aria-label, aria-description); a text gets them in a span that only readers
// find, its shown text then hidden from them.

#include "model/Reader.h"

#include <string>
#include <string_view>

namespace tarvo::web {

// The element's attributes for its role, as a JSON object: hidden from readers (None), a group.
std::string_view roleAttributes(ReaderRole role);

struct Reading {
    std::string label;
    std::string description;
    std::string sr; // the words in the span only readers find; "" for no span
    bool hideText = false; // the shown text is hidden from readers (the span says it)
    bool operator==(const Reading&) const = default;
};
// `shown` is the element's text; `textPart`: that text stands in a part of its own (a label's),
// which the span may stand in for.
Reading readingOf(ReaderRole role, std::string_view shown, bool textPart, const std::string& name,
    const std::string& description);

} // namespace tarvo::web
