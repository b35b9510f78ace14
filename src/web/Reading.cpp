#include "web/Reading.h"

namespace tarvo::web {

std::string_view roleAttributes(ReaderRole role)
{
    switch (role) {
    case ReaderRole::None:
        return R"({"aria-hidden":"true"})";
    case ReaderRole::Group:
        return R"({"role":"group"})";
    case ReaderRole::Text:
    case ReaderRole::Button:
        break;
    }
    return "{}";
}

Reading readingOf(ReaderRole role, std::string_view shown, bool textPart, const std::string& name,
    const std::string& description)
{
    Reading r;
    switch (role) {
    case ReaderRole::Button:
        r.label = name != shown ? name : "";
        r.description = description;
        break;
    case ReaderRole::Group:
        r.label = name;
        r.description = description;
        break;
    case ReaderRole::Text: {
        const std::string words = description.empty() ? name : name + ", " + description;
        const bool same = textPart && shown == words;
        r.hideText = textPart && !same;
        r.sr = same ? "" : words;
        break;
    }
    case ReaderRole::None:
        break;
    }
    return r;
}

} // namespace tarvo::web
