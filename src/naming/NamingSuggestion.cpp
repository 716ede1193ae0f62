// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/NamingSuggestion.h"

#include <array>

namespace {

const std::array<QString, 3> &rawValues()
{
    static const std::array<QString, 3> values{
        QStringLiteral("localModel"), QStringLiteral("localModelImage"), QStringLiteral("heuristics")};
    return values;
}

} // namespace

QString rawValue(NamingSource source)
{
    return rawValues()[static_cast<std::size_t>(source)];
}

std::optional<NamingSource> namingSourceFromRawValue(QStringView raw)
{
    const auto &values = rawValues();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] == raw)
            return static_cast<NamingSource>(i);
    }
    return std::nullopt;
}
