// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/Appcast.h"

#include "core/NetworkAddress.h"
#include "update/UpdateSignature.h"

#include <QCoreApplication>
#include <QVersionNumber>
#include <QXmlStreamReader>

namespace {

void readEnclosure(const QXmlStreamAttributes &attributes, const QUrl &feedUrl, AppcastItem &item)
{
    const QString url = attributes.value(QLatin1String("url")).toString().trimmed();
    if (!url.isEmpty())
        item.archiveUrl = feedUrl.resolved(QUrl(url));
    bool isNumber = false;
    const qint64 length = attributes.value(QLatin1String("length")).toLongLong(&isNumber);
    item.length = isNumber && length > 0 ? length : -1;
    item.signature = attributes.value(QLatin1String("sparkle:edSignature")).toString().trimmed();
    // Older feeds put the versions on the enclosure.
    if (item.version.isEmpty())
        item.version = attributes.value(QLatin1String("sparkle:version")).toString().trimmed();
    if (item.displayVersion.isEmpty())
        item.displayVersion =
            attributes.value(QLatin1String("sparkle:shortVersionString")).toString().trimmed();
}

} // namespace

std::optional<UpdateFeed> UpdateFeed::fromConfiguration(const QString &url, const QString &publicKeyBase64)
{
    const QUrl feedUrl(url.trimmed(), QUrl::StrictMode);
    const bool isSecure = feedUrl.scheme() == QLatin1String("https") ||
                          (feedUrl.scheme() == QLatin1String("http") && NetworkAddress::isLoopback(feedUrl));
    if (!feedUrl.isValid() || feedUrl.host().isEmpty() || !isSecure)
        return std::nullopt;
    const auto key = QByteArray::fromBase64Encoding(publicKeyBase64.trimmed().toLatin1(),
                                                    QByteArray::AbortOnBase64DecodingErrors);
    if (!key || key.decoded.size() != UpdateSignature::publicKeySize)
        return std::nullopt;
    return UpdateFeed{feedUrl, key.decoded};
}

namespace Appcast {

Parsed parse(const QByteArray &xml, const QUrl &feedUrl)
{
    QXmlStreamReader reader(xml);
    Parsed parsed;
    std::optional<AppcastItem> item;
    bool isRss = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QStringView name = reader.qualifiedName();
            if (!isRss && name != QLatin1String("rss"))
                break;
            isRss = true;
            if (name == QLatin1String("item"))
                item = AppcastItem{};
            else if (item && name == QLatin1String("sparkle:version"))
                item->version = reader.readElementText().trimmed();
            else if (item && name == QLatin1String("sparkle:shortVersionString"))
                item->displayVersion = reader.readElementText().trimmed();
            else if (item && name == QLatin1String("enclosure"))
                readEnclosure(reader.attributes(), feedUrl, *item);
        } else if (reader.isEndElement() && reader.qualifiedName() == QLatin1String("item") && item) {
            if (item->displayVersion.isEmpty())
                item->displayVersion = item->version;
            if (!item->version.isEmpty() && item->archiveUrl.isValid())
                parsed.items.append(*item);
            item.reset();
        }
    }
    if (reader.hasError())
        return {{},
                QCoreApplication::translate("Appcast", "The update feed is not valid XML (line %1: %2).")
                    .arg(reader.lineNumber())
                    .arg(reader.errorString())};
    if (!isRss)
        return {{}, QCoreApplication::translate("Appcast", "The update feed is not an RSS feed.")};
    return parsed;
}

int compareVersions(const QString &a, const QString &b)
{
    return QVersionNumber::compare(QVersionNumber::fromString(a).normalized(),
                                   QVersionNumber::fromString(b).normalized());
}

std::optional<AppcastItem> newestUpdate(const QList<AppcastItem> &items, const QString &currentVersion)
{
    std::optional<AppcastItem> newest;
    for (const AppcastItem &item : items)
        if (compareVersions(item.version, newest ? newest->version : currentVersion) > 0)
            newest = item;
    return newest;
}

} // namespace Appcast
