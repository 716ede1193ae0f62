// SPDX-License-Identifier: GPL-3.0-or-later
#include "index/ScreenshotIndex.h"

#include "index/IndexLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimeZone>

#include <algorithm>
#include <sqlite3.h>

namespace {

// Another Quillo writing at the same moment finishes well within this.
constexpr int busyTimeoutMs = 2000;
// A query is read by a person; more words than this only cost time.
constexpr qsizetype maxWords = 32;
constexpr qsizetype maxWordLength = 64;
constexpr int snippetTokens = 12;
// Hits beyond the limit asked for, in case some point at files that are gone.
constexpr int spareHits = 8;
// Ranking takes about 1.5 µs a match.
constexpr int mostRanked = 2000;

constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Step i brings an index of version i to version i + 1.
const char *const migrations[] = {
    R"sql(
    CREATE TABLE screenshot(
        id INTEGER PRIMARY KEY,
        path TEXT NOT NULL UNIQUE,
        name TEXT NOT NULL,
        old_name TEXT NOT NULL,
        folder TEXT NOT NULL,
        category TEXT NOT NULL,
        taken_at INTEGER NOT NULL,
        app TEXT NOT NULL,
        window_title TEXT NOT NULL,
        text TEXT NOT NULL);
    CREATE VIRTUAL TABLE screenshot_words USING fts5(
        name, old_name, app, window_title, text,
        content = 'screenshot', content_rowid = 'id', tokenize = 'unicode61 remove_diacritics 2',
        prefix = '2 3');
    CREATE TRIGGER screenshot_added AFTER INSERT ON screenshot BEGIN
        INSERT INTO screenshot_words(rowid, name, old_name, app, window_title, text)
        VALUES (new.id, new.name, new.old_name, new.app, new.window_title, new.text);
    END;
    CREATE TRIGGER screenshot_removed AFTER DELETE ON screenshot BEGIN
        INSERT INTO screenshot_words(screenshot_words, rowid, name, old_name, app, window_title, text)
        VALUES ('delete', old.id, old.name, old.old_name, old.app, old.window_title, old.text);
    END;
    CREATE TRIGGER screenshot_changed AFTER UPDATE ON screenshot BEGIN
        INSERT INTO screenshot_words(screenshot_words, rowid, name, old_name, app, window_title, text)
        VALUES ('delete', old.id, old.name, old.old_name, old.app, old.window_title, old.text);
        INSERT INTO screenshot_words(rowid, name, old_name, app, window_title, text)
        VALUES (new.id, new.name, new.old_name, new.app, new.window_title, new.text);
    END;
    )sql",
    // One-letter prefixes get an index of their own: without it, a search for "a" merges the
    // lists of every word starting with it, and the tray's search asks for one at the first key.
    R"sql(
    DROP TABLE screenshot_words;
    CREATE VIRTUAL TABLE screenshot_words USING fts5(
        name, old_name, app, window_title, text,
        content = 'screenshot', content_rowid = 'id', tokenize = 'unicode61 remove_diacritics 2',
        prefix = '1 2 3');
    INSERT INTO screenshot_words(screenshot_words) VALUES ('rebuild');
    )sql",
};
static_assert(std::size(migrations) == ScreenshotIndex::schemaVersion);

// A step that left an index newer than this Quillo knows: no use reading it.
constexpr int newerVersion = -1;

bool isDamage(int code)
{
    return code == newerVersion || (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB;
}

class Statement
{
public:
    Statement(sqlite3 *db, const char *sql)
    {
        m_code = sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    int code() const { return m_code; }
    Statement &bind(int index, const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement &bind(int index, qint64 value)
    {
        sqlite3_bind_int64(m_statement, index, value);
        return *this;
    }
    // SQLITE_ROW while there are rows, then SQLITE_DONE; the preparation's error when it failed.
    int step() { return m_code == SQLITE_OK ? sqlite3_step(m_statement) : m_code; }
    int run()
    {
        const int code = step();
        return code == SQLITE_DONE || code == SQLITE_ROW ? SQLITE_OK : code;
    }
    QString text(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column)),
                                 sqlite3_column_bytes(m_statement, column));
    }
    qint64 integer(int column) const { return sqlite3_column_int64(m_statement, column); }

private:
    sqlite3_stmt *m_statement = nullptr;
    int m_code = SQLITE_OK;
};

int exec(sqlite3 *db, const char *sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Runs `change` in one transaction: all of it is written or none.
template <typename Change> int transaction(sqlite3 *db, Change change)
{
    int code = exec(db, "BEGIN IMMEDIATE");
    if (code != SQLITE_OK)
        return code;
    code = change();
    if (code == SQLITE_OK)
        code = exec(db, "COMMIT");
    if (code != SQLITE_OK)
        exec(db, "ROLLBACK");
    return code;
}

// Brings the schema to this version; the first write of a new file creates it.
int migrate(sqlite3 *db)
{
    // WAL lets searches read while another process writes; where the file system cannot share
    // memory, SQLite keeps its rollback journal, which works too. Reading the mode reads the header.
    int code = exec(db, "PRAGMA journal_mode = WAL");
    if (code != SQLITE_OK)
        return code;
    exec(db, "PRAGMA synchronous = NORMAL");
    return transaction(db, [db] {
        qint64 version = 0;
        {
            // Finished before the steps run: a table is not dropped under an open statement.
            Statement read(db, "PRAGMA user_version");
            if (read.step() != SQLITE_ROW)
                return read.run();
            version = read.integer(0);
        }
        if (version > ScreenshotIndex::schemaVersion || version < 0)
            return newerVersion;
        for (qint64 step = version; step < ScreenshotIndex::schemaVersion; ++step) {
            if (const int failed = exec(db, migrations[step]); failed != SQLITE_OK)
                return failed;
        }
        if (version == ScreenshotIndex::schemaVersion)
            return SQLITE_OK;
        const QByteArray setVersion =
            "PRAGMA user_version = " + QByteArray::number(ScreenshotIndex::schemaVersion);
        return exec(db, setVersion.constData());
    });
}

QString describe(int code)
{
    return code == newerVersion ? QStringLiteral("it was written by a newer Quillo")
                                : QString::fromUtf8(sqlite3_errstr(code));
}

// A free name beside `path` for a damaged copy.
QString asideName(const QString &path)
{
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString candidate = stem;
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo::exists(candidate + QStringLiteral("-wal"));
         ++n)
        candidate = stem + u'-' + QString::number(n);
    return candidate;
}

bool hasWordCharacter(const QString &word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) {
        return c.isLetterOrNumber();
    });
}

} // namespace

ScreenshotIndex::ScreenshotIndex(QString filePath)
    : m_filePath(std::move(filePath))
{}

ScreenshotIndex::~ScreenshotIndex()
{
    close();
}

QString ScreenshotIndex::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/quillo/index.sqlite");
}

QString ScreenshotIndex::matchExpression(const QString &words)
{
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    QStringList terms;
    for (QString word : words.split(spaces, Qt::SkipEmptyParts)) {
        if (terms.size() == maxWords)
            break;
        word.truncate(maxWordLength);
        if (word.back().isHighSurrogate())
            word.chop(1);
        // Punctuation alone matches nothing; FTS5 would reject an empty prefix.
        if (!hasWordCharacter(word))
            continue;
        // A string in double quotes is never an operator, column filter or NEAR group.
        terms.append(u'"' + word.replace(u'"', QStringLiteral("\"\"")) + QStringLiteral("\"*"));
    }
    return terms.join(u' ');
}

bool ScreenshotIndex::open()
{
    if (m_db)
        return true;
    for (int attempt = 0; attempt < 2; ++attempt) {
        QDir().mkpath(QFileInfo(m_filePath).absolutePath());
        // Made private before SQLite writes anything; its journal files take the same mode.
        QFile file(m_filePath);
        if (!file.exists() && file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly))
            file.close();
        else if (file.exists() &&
                 (file.permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser)) != ownerOnly)
            file.setPermissions(ownerOnly);
        const int opened = sqlite3_open_v2(QFile::encodeName(m_filePath).constData(), &m_db,
                                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (opened == SQLITE_OK)
            sqlite3_busy_timeout(m_db, busyTimeoutMs);
        const int code = opened == SQLITE_OK ? migrate(m_db) : opened;
        if (code == SQLITE_OK)
            return true;
        m_openError = QStringLiteral("cannot open the search index %1: %2").arg(m_filePath, describe(code));
        if (!isDamage(code) || attempt == 1) {
            close();
            return false;
        }
        setAside(describe(code));
    }
    return false;
}

void ScreenshotIndex::close()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void ScreenshotIndex::setAside(const QString &why)
{
    close();
    const QString aside = asideName(m_filePath);
    // The journal belongs to the damaged file: it goes with it rather than into the new one.
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm"), QString()}) {
        if (QFileInfo::exists(m_filePath + suffix) && !QFile::rename(m_filePath + suffix, aside + suffix))
            qCWarning(lcIndex) << "could not set aside" << m_filePath + suffix;
    }
    QFile marker(refillMarkerPath());
    if (!marker.open(QIODevice::WriteOnly, ownerOnly))
        qCWarning(lcIndex) << "could not write" << marker.fileName();
    qCWarning(lcIndex).noquote() << "the search index could not be read (" + why + "); it was moved to"
                                 << aside
                                 << "and starts afresh; Quillo indexes the screenshots it named again";
}

std::optional<QString> ScreenshotIndex::failure(int code, const char *what)
{
    const QString message =
        QStringLiteral("cannot %1 the search index: %2").arg(QLatin1StringView(what), describe(code));
    if (isDamage(code))
        setAside(describe(code));
    return message;
}

template <typename Change> std::optional<QString> ScreenshotIndex::write(const char *what, Change change)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!open())
            return m_openError;
        const int code = change(m_db);
        if (code == SQLITE_OK)
            return std::nullopt;
        // A file that turned out damaged is set aside by failure(); the change goes into a new one.
        if (!isDamage(code) || attempt == 1)
            return failure(code, what);
        failure(code, what);
    }
    return std::nullopt;
}

std::optional<QString> ScreenshotIndex::put(const IndexEntry &entry)
{
    return write("add to", [&entry](sqlite3 *db) {
        Statement insert(db, R"sql(
            INSERT INTO screenshot(path, name, old_name, folder, category, taken_at, app, window_title, text)
            VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)
            ON CONFLICT(path) DO UPDATE SET
                name = excluded.name, folder = excluded.folder, text = excluded.text,
                taken_at = excluded.taken_at,
                old_name = iif(excluded.old_name = '', old_name, excluded.old_name),
                category = iif(excluded.category = '', category, excluded.category),
                app = iif(excluded.app = '', app, excluded.app),
                window_title = iif(excluded.window_title = '', window_title, excluded.window_title))sql");
        const QFileInfo info(entry.path);
        return insert.bind(1, entry.path)
            .bind(2, info.fileName())
            .bind(3, entry.oldName)
            .bind(4, info.absolutePath())
            .bind(5, entry.category)
            .bind(6, entry.takenAt.isValid() ? entry.takenAt.toSecsSinceEpoch() : 0)
            .bind(7, entry.appName)
            .bind(8, entry.windowTitle)
            .bind(9, entry.text)
            .run();
    });
}

std::optional<QString> ScreenshotIndex::move(const QString &from, const QString &to)
{
    return write("update", [&from, &to](sqlite3 *db) {
        return transaction(db, [&] {
            // Whatever the index still held at the new path is another, gone file; unless the moved
            // one is not in the index, and the row there may be this file indexed by another writer.
            const int dropped = Statement(db, "DELETE FROM screenshot WHERE path = ?1 AND ?1 <> ?2 AND "
                                              "EXISTS (SELECT 1 FROM screenshot WHERE path = ?2)")
                                    .bind(1, to)
                                    .bind(2, from)
                                    .run();
            if (dropped != SQLITE_OK)
                return dropped;
            const QFileInfo info(to);
            return Statement(db, "UPDATE screenshot SET path = ?1, name = ?2, folder = ?3 WHERE path = ?4")
                .bind(1, to)
                .bind(2, info.fileName())
                .bind(3, info.absolutePath())
                .bind(4, from)
                .run();
        });
    });
}

std::optional<QString> ScreenshotIndex::remove(const QString &path)
{
    return write("remove from", [&path](sqlite3 *db) {
        return Statement(db, "DELETE FROM screenshot WHERE path = ?1").bind(1, path).run();
    });
}

std::optional<QString> ScreenshotIndex::clear()
{
    return write("clear", [](sqlite3 *db) {
        const int code = exec(db, "DELETE FROM screenshot");
        if (code != SQLITE_OK)
            return code;
        // The text leaves the disk too, not only the index's view of it.
        exec(db, "VACUUM");
        exec(db, "PRAGMA wal_checkpoint(TRUNCATE)");
        return SQLITE_OK;
    });
}

ScreenshotIndex::Found ScreenshotIndex::search(const QString &words, int limit)
{
    const QString expression = matchExpression(words);
    if (expression.isEmpty() || limit <= 0)
        return {};
    if (!open())
        return {{}, m_openError};
    // Where more screenshots match than can be ranked at typing speed (a first letter), the most
    // recently indexed of them are ranked.
    qint64 oldestRanked = 0;
    {
        Statement floor(m_db, "SELECT rowid FROM screenshot_words WHERE screenshot_words MATCH ?1 "
                              "ORDER BY rowid DESC LIMIT 1 OFFSET ?2");
        floor.bind(1, expression).bind(2, qint64(mostRanked - 1));
        if (floor.step() == SQLITE_ROW)
            oldestRanked = floor.integer(0);
    }
    // Ranked on the index alone; only the rows kept are looked up. Ranking all that match a short
    // prefix with the table joined reads thousands of rows for twenty.
    Statement query(m_db, R"sql(
        SELECT s.path, s.taken_at, s.category,
               snippet(screenshot_words, -1, char(2), char(3), '…', ?3)
        FROM (SELECT rowid AS id, bm25(screenshot_words, 4.0, 2.0, 1.0, 1.0, 1.0) AS score
              FROM screenshot_words WHERE screenshot_words MATCH ?1 AND rowid >= ?4
              ORDER BY score, rowid DESC LIMIT ?2) AS best
        JOIN screenshot_words ON screenshot_words.rowid = best.id AND screenshot_words MATCH ?1
        JOIN screenshot AS s ON s.id = best.id
        ORDER BY best.score, s.taken_at DESC)sql");
    query.bind(1, expression)
        .bind(2, qint64(limit) + spareHits)
        .bind(3, qint64(snippetTokens))
        .bind(4, oldestRanked);
    Found found;
    QStringList gone;
    int code = SQLITE_OK;
    while ((code = query.step()) == SQLITE_ROW) {
        SearchHit hit{query.text(0), QDateTime::fromSecsSinceEpoch(query.integer(1), Qt::UTC), query.text(2),
                      query.text(3).simplified()};
        if (!QFileInfo::exists(hit.path))
            gone.append(hit.path);
        else if (found.hits.size() < limit)
            found.hits.append(std::move(hit));
    }
    if (code != SQLITE_DONE)
        return {{}, *failure(code, "search")};
    for (const QString &path : std::as_const(gone)) {
        if (const auto problem = remove(path))
            qCInfo(lcIndex).noquote() << *problem;
    }
    return found;
}

ScreenshotIndex::Size ScreenshotIndex::size()
{
    Size size;
    if (open()) {
        Statement count(m_db, "SELECT count(*) FROM screenshot");
        if (count.step() == SQLITE_ROW)
            size.count = count.integer(0);
    }
    for (const QString &suffix : {QString(), QStringLiteral("-wal")})
        size.bytes += QFileInfo(m_filePath + suffix).size();
    return size;
}
