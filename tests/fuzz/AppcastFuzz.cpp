// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/Appcast.h"

#include <cstdint>
#include <cstdlib>

namespace {

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto xml = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const Appcast::Parsed parsed =
        Appcast::parse(xml, QUrl(QStringLiteral("https://updates.example/appcast.xml")));
    if (!parsed.error.isEmpty() && !parsed.items.isEmpty())
        std::abort();
    for (const AppcastItem &item : parsed.items) {
        // Every item offered has a version and an archive to download.
        if (item.version.isEmpty() || !item.archiveUrl.isValid() || item.displayVersion.isEmpty())
            std::abort();
        // Versions order the same way from either side.
        const QString &other = parsed.items.first().version;
        if (sign(Appcast::compareVersions(item.version, other)) !=
            -sign(Appcast::compareVersions(other, item.version)))
            std::abort();
    }
    const auto newest = Appcast::newestUpdate(parsed.items, QStringLiteral("0.1.0"));
    if (newest && Appcast::compareVersions(newest->version, QStringLiteral("0.1.0")) <= 0)
        std::abort();
    return 0;
}
