// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

struct sqlite3;

// What the index keeps of one screenshot; its name and folder are read from the path.
struct IndexEntry
{
    QString path;          // absolute, where the file is now
    QString oldName = {};  // the name it had before Quillo renamed it; empty when it kept its own
    QString category = {}; // the stored form of its category
    QDateTime takenAt = {};
    QString appName = {};
    QString windowTitle = {};
    QString text = {}; // every recognised line, in reading order, one per line

    friend bool operator==(const IndexEntry &, const IndexEntry &) = default;
};

// One screenshot a search found, best first.
struct SearchHit
{
    QString path;
    QDateTime takenAt;
    QString category;
    // One line around the matched words, each between ScreenshotIndex::markBegin and markEnd.
    QString snippet;

    friend bool operator==(const SearchHit &, const SearchHit &) = default;
};

// The full-text index of named screenshots in one SQLite file, readable by the user alone. Opened on
// first use; a file that is not a readable index of this or an older version is set aside beside it
// (renamed, never deleted) and started afresh. Several processes may write at once: SQLite locks,
// and a writer waits a while for another. Not thread-safe: use one object on one thread at a time.
class ScreenshotIndex final
{
public:
    static constexpr char16_t markBegin = u'\x02';
    static constexpr char16_t markEnd = u'\x03';
    static constexpr int schemaVersion = 2;

    explicit ScreenshotIndex(QString filePath);
    ~ScreenshotIndex();
    ScreenshotIndex(const ScreenshotIndex &) = delete;
    ScreenshotIndex &operator=(const ScreenshotIndex &) = delete;

    // $XDG_DATA_HOME/quillo/index.sqlite
    static QString defaultPath();
    const QString &filePath() const { return m_filePath; }
    // Stands beside an index that replaced a damaged one until what the damaged one held is put
    // back; whoever set it aside, the daemon sees it and refills.
    QString refillMarkerPath() const { return m_filePath + QStringLiteral(".refill"); }

    // Each returns what went wrong, nothing when the index holds the change.
    // Adds the screenshot, or replaces what the index held for its path.
    std::optional<QString> put(const IndexEntry &entry);
    // The file moved or was renamed; a path the index does not hold is no error.
    std::optional<QString> move(const QString &from, const QString &to);
    std::optional<QString> remove(const QString &path);
    std::optional<QString> clear();

    struct Found
    {
        QList<SearchHit> hits;
        QString error; // why there are no hits, when it is not for lack of a match
    };
    // The screenshots holding every one of the words (by prefix, regardless of case and accents),
    // most relevant first and newer first among equals. Whatever the person typed is words, never
    // query syntax. Results whose file is gone are dropped from the index and left out.
    Found search(const QString &words, int limit);

    struct Size
    {
        qint64 count = 0;
        qint64 bytes = 0; // the file and its journal
    };
    Size size();

    // Closes the file until the next change or search, so the memory SQLite keeps for it goes back.
    void release() { close(); }

    // The query the index runs for what a person typed: each word as a quoted prefix; empty when
    // nothing in it can match.
    static QString matchExpression(const QString &words);

private:
    bool open();
    void close();
    void setAside(const QString &why);
    std::optional<QString> failure(int code, const char *what);
    template <typename Change> std::optional<QString> write(const char *what, Change change);

    QString m_filePath;
    sqlite3 *m_db = nullptr;
    QString m_openError;
};
