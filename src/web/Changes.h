#pragma once
// The changes the program sends its page (web/Page.h: tarvo_page_apply), written as JSON: one
// Record for each, gathered in Changes until they are sent.

#include <string>
#include <string_view>

namespace tarvo::web {

// A JSON string: quotes, backslashes and control characters escaped, the rest as it is (UTF-8).
std::string quoted(std::string_view text);

// One record: {"op": op, name: value, ...}.
class Record {
public:
    explicit Record(std::string_view op);
    Record& field(std::string_view name, int value);
    Record& field(std::string_view name, bool value);
    Record& field(std::string_view name, std::string_view text);
    Record& field(std::string_view name, const char* text)
    {
        return field(name, std::string_view(text));
    }
    // A value written as JSON already: an array or an object.
    Record& json(std::string_view name, std::string_view value);
    std::string json() const { return text_ + '}'; }

private:
    std::string text_; // without its closing brace
};

// Records to send, in order.
class Changes {
public:
    void add(const Record& r);
    bool empty() const { return records_.empty(); }
    // The records so far as one JSON array; none are left.
    std::string take();

private:
    std::string records_;
};

} // namespace tarvo::web
