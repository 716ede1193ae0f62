// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopsearch/DesktopSearch.h"

#include "desktopsearch/DesktopSearchLog.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QSet>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <array>

namespace {

// Results remembered for describing and opening; a desktop asks about the latest few only.
constexpr qsizetype maxRemembered = 500;
// Pictures a desktop's image loaders draw whatever else is installed; a PDF or HEIC file would
// show as a blank.
constexpr std::array drawnByEveryDesktop{QLatin1StringView("image/png"), QLatin1StringView("image/jpeg")};

struct CachedThumbnail
{
    QString path;
    QImage image;
};

// The thumbnail file managers left in the shared cache, if it still shows the file as it is.
CachedThumbnail cachedThumbnail(const QString &filePath)
{
    const QByteArray uri = QUrl::fromLocalFile(filePath).toEncoded();
    const QString name = QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex());
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                          QStringLiteral("/thumbnails/");
    const qint64 modified = QFileInfo(filePath).lastModified().toSecsSinceEpoch();
    for (const QString &size : {QStringLiteral("normal"), QStringLiteral("large")}) {
        const QString path = cache + size + u'/' + name + QStringLiteral(".png");
        // Small pictures, read whole: the reader's own text lookup splits keys at colons.
        QImage image(path);
        if (!image.isNull() && image.text(QStringLiteral("Thumb::MTime")).toLongLong() == modified)
            return {path, image};
    }
    return {};
}

QString describeHit(const SearchHit &hit)
{
    const QString taken = QLocale().toString(hit.takenAt.toLocalTime(), QLocale::ShortFormat);
    //: A screenshot's date, then the category it was filed in
    const QString when =
        hit.category.isEmpty()
            ? taken
            : QCoreApplication::translate("DesktopSearch", "%1, in %2").arg(taken, hit.category);
    const QString snippet = DesktopSearch::plainSnippet(hit.snippet);
    //: When the screenshot was taken (and its category), then the words on it around the match
    return snippet.isEmpty() ? when
                             : QCoreApplication::translate("DesktopSearch", "%1: %2").arg(when, snippet);
}

} // namespace

DesktopSearch::DesktopSearch(QString indexPath)
    : m_indexPath(std::move(indexPath))
{}

DesktopSearch::~DesktopSearch() = default;

QString DesktopSearch::plainSnippet(const QString &snippet)
{
    QString plain;
    plain.reserve(snippet.size());
    for (const QChar c : snippet) {
        if (c != ScreenshotIndex::markBegin && c != ScreenshotIndex::markEnd)
            plain += c.category() == QChar::Other_Control ? QChar(u' ') : c;
    }
    return plain.simplified();
}

QStringList DesktopSearch::find(const QStringList &terms)
{
    const QString words = terms.join(u' ').simplified();
    if (words.size() < minQueryLength)
        return {};
    // Opening the index would create one; a person who never indexed anything has none.
    if (!m_index) {
        if (!QFileInfo::exists(m_indexPath))
            return {};
        m_index = std::make_unique<ScreenshotIndex>(m_indexPath);
    }
    const ScreenshotIndex::Found found = m_index->search(words, maxResults);
    if (!found.error.isEmpty())
        qCWarning(lcDesktopSearch).noquote() << found.error;
    if (m_found.size() > maxRemembered)
        m_found.clear();
    QStringList ids;
    for (const SearchHit &hit : found.hits) {
        ids.append(hit.path);
        m_found.insert(hit.path, hit);
    }
    return ids;
}

QStringList DesktopSearch::narrow(const QStringList &previous, const QStringList &terms)
{
    const QSet<QString> allowed(previous.begin(), previous.end());
    QStringList ids = find(terms);
    ids.removeIf([&allowed](const QString &id) {
        return !allowed.contains(id);
    });
    return ids;
}

QList<DesktopResult> DesktopSearch::describe(const QStringList &ids)
{
    QList<DesktopResult> results;
    const QMimeDatabase types;
    for (const QString &id : ids) {
        if (!isOpenable(id))
            continue;
        const auto hit = m_found.constFind(id);
        const QFileInfo file(id);
        const QMimeType type = types.mimeTypeForFile(file);
        CachedThumbnail thumbnail = cachedThumbnail(id);
        if (thumbnail.path.isEmpty() &&
            std::ranges::find(drawnByEveryDesktop, type.name()) != drawnByEveryDesktop.end())
            thumbnail.path = id;
        results.append({id, file.fileName(), hit == m_found.cend() ? QString() : describeHit(*hit),
                        type.iconName(), thumbnail.path, std::move(thumbnail.image)});
    }
    return results;
}

bool DesktopSearch::isOpenable(const QString &id)
{
    // The desktop may ask again after this process quit and was started anew, so any existing file
    // will do: whoever calls is on the user's own bus and could open it anyway.
    const QFileInfo file(id);
    return file.isAbsolute() && file.isFile();
}
