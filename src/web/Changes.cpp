#include "web/Changes.h"

namespace tarvo::web {

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (ch == '\n') {
            out += "\\n";
        } else if (byte < 0x20) {
            out += "\\u00";
            out += "0123456789abcdef"[byte >> 4];
            out += "0123456789abcdef"[byte & 15];
        } else {
            out += ch;
        }
    }
    return out + '"';
}

Record::Record(std::string_view op)
    : text_("{\"op\":" + quoted(op))
{
}

Record& Record::field(std::string_view name, int value)
{
    return json(name, std::to_string(value));
}

Record& Record::field(std::string_view name, bool value)
{
    return json(name, value ? "true" : "false");
}

Record& Record::field(std::string_view name, std::string_view text)
{
    return json(name, quoted(text));
}

Record& Record::json(std::string_view name, std::string_view value)
{
    text_ += ',';
    text_ += quoted(name);
    text_ += ':';
    text_ += value;
    return *this;
}

void Changes::add(const Record& r)
{
    records_ += records_.empty() ? "[" : ",";
    records_ += r.json();
}

std::string Changes::take()
{
    std::string out = std::move(records_);
    records_.clear();
    return out.empty() ? out : out + ']';
}

} // namespace tarvo::web
