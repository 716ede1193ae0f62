// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// Where updates come from: the feed's address and the Ed25519 key every update archive is signed with.
struct UpdateFeed
{
    QUrl url;
    QByteArray publicKey; // 32 bytes

    // Both values present and well formed (an HTTPS address, or HTTP on this computer, and a Base64
    // key of 32 bytes); otherwise nothing, and the program has no updater.
    static std::optional<UpdateFeed> fromConfiguration(const QString &url, const QString &publicKeyBase64);
};

// One release offered by the feed.
struct AppcastItem
{
    QString version;        // compared with the running version
    QString displayVersion; // shown to the user
    QUrl archiveUrl;
    qint64 length = -1; // the archive's size in bytes as the feed states it; -1 when missing
    QString signature;  // Base64 Ed25519 signature of the archive; empty when missing

    friend bool operator==(const AppcastItem &, const AppcastItem &) = default;
};

// The update feed: an RSS document whose items carry sparkle:version, sparkle:shortVersionString and
// an enclosure with url, length and sparkle:edSignature. Pure functions.
namespace Appcast {

struct Parsed
{
    QList<AppcastItem> items;
    QString error; // for the user; empty when the feed could be read
};

// Items without an enclosure address or a version are left out; relative addresses are resolved
// against `feedUrl`.
Parsed parse(const QByteArray &xml, const QUrl &feedUrl);

// Negative, zero or positive as `a` is older than, the same as or newer than `b` ("1.10" > "1.9").
int compareVersions(const QString &a, const QString &b);

// The newest item, when it is newer than `currentVersion`.
std::optional<AppcastItem> newestUpdate(const QList<AppcastItem> &items, const QString &currentVersion);

} // namespace Appcast
