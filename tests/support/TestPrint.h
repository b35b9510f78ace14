#pragma once
// Readable QCOMPARE failures for the standard types the game tests compare.

#include "model/Types.h"

#include <QTest>

#include <optional>
#include <string>
#include <vector>

namespace QTest {
template <> inline char* toString(const std::string& s)
{
    return qstrdup(("\"" + s + "\"").c_str());
}
template <> inline char* toString(const std::optional<tarvo::Bgr>& c)
{
    return qstrdup(c ? QByteArray("0x").append(QByteArray::number(*c, 16).rightJustified(8, '0'))
                     : QByteArray("default"));
}
template <> inline char* toString(const std::vector<std::string>& v)
{
    std::string all = "{";
    for (const auto& s : v)
        all += " \"" + s + "\"";
    return qstrdup((all + " }").c_str());
}
} // namespace QTest
