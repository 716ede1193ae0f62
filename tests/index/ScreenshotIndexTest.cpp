// SPDX-License-Identifier: GPL-3.0-or-later
#include "index/ScreenshotIndex.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime december = QDateTime(QDate(2026, 12, 1), QTime(9, 0), Qt::UTC);

QStringList namesOf(const ScreenshotIndex::Found &found)
{
    QStringList names;
    for (const SearchHit &hit : found.hits)
        names.append(QFileInfo(hit.path).fileName());
    return names;
}

} // namespace

class ScreenshotIndexTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void queriesAreWordsMatchedByPrefix_data();
    void queriesAreWordsMatchedByPrefix();
    void renameMoveUndoAndDeleteKeepResultsTrue();
    void damagedIndexIsSetAsideAndStartedAfresh_data();
    void damagedIndexIsSetAsideAndStartedAfresh();
    void olderIndexIsMigratedKeepingItsRows();

private:
    // Writes the file and indexes it.
    void add(const QString &name, const QString &text, int day, const QString &oldName = {});
    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<ScreenshotIndex> m_index;
    QString indexPath() const { return m_temp->filePath(u"data/quillo/index.sqlite"_s); }
};

void ScreenshotIndexTest::init()
{
    m_temp = std::make_unique<QTemporaryDir>();
    m_index = std::make_unique<ScreenshotIndex>(indexPath());
}

void ScreenshotIndexTest::add(const QString &name, const QString &text, int day, const QString &oldName)
{
    const QString path = m_temp->filePath(name);
    QVERIFY(TestFiles::write(path));
    QCOMPARE(m_index->put({path, oldName, u"receipts"_s, december.addDays(day), u"Firefox"_s, {}, text}),
             std::nullopt);
}

void ScreenshotIndexTest::queriesAreWordsMatchedByPrefix_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("expected");

    const QStringList none;
    QTest::newRow("prefix, any case") << u"INVO"_s << QStringList{u"invoice-2043.png"_s};
    QTest::newRow("every word must match") << u"invoice 2043 total"_s << QStringList{u"invoice-2043.png"_s};
    QTest::newRow("accents either way") << u"cafe creme"_s << QStringList{u"menu.png"_s};
    QTest::newRow("accented query") << u"Café"_s << QStringList{u"menu.png"_s};
    QTest::newRow("name before text, newer first among equals")
        << u"error"_s << QStringList{u"error-dialog.png"_s, u"build-log-new.png"_s, u"build-log-old.png"_s};
    QTest::newRow("old name") << u"Screenshot_2026"_s << QStringList{u"menu.png"_s};
    QTest::newRow("quote") << u"\"segfault"_s << QStringList{u"build-log-new.png"_s, u"build-log-old.png"_s};
    QTest::newRow("operators are words") << u"NEAR AND segfault"_s << none;
    QTest::newRow("star and minus") << u"-segfault*"_s
                                    << QStringList{u"build-log-new.png"_s, u"build-log-old.png"_s};
    QTest::newRow("column filter") << u"text:segfault"_s << none;
    QTest::newRow("parentheses, caret")
        << u"(segfault) ^core"_s << QStringList{u"build-log-new.png"_s, u"build-log-old.png"_s};
    QTest::newRow("punctuation only") << u"\" * - : ( ) ^"_s << none;
    QTest::newRow("undecodable bytes") << QString::fromUtf8("\xff\xfe") << none;
    QTest::newRow("10,000 characters") << QString(10000, u'a') << none;
    QTest::newRow("many words") << (u"segfault "_s.repeated(500))
                                << QStringList{u"build-log-new.png"_s, u"build-log-old.png"_s};
}

void ScreenshotIndexTest::queriesAreWordsMatchedByPrefix()
{
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    add(u"invoice-2043.png"_s, u"ACME Ltd\nInvoice 2043\nTotal 120.00 EUR"_s, 1);
    add(u"menu.png"_s, u"Café crème 3,20 €"_s, 2, u"Screenshot_20261203_101010.png"_s);
    add(u"build-log-old.png"_s, u"make: *** error 139: segfault (core dumped)"_s, 3);
    add(u"build-log-new.png"_s, u"make: *** error 139: segfault (core dumped)"_s, 4);
    add(u"error-dialog.png"_s, u"Could not save"_s, 5);

    const ScreenshotIndex::Found found = m_index->search(query, 10);
    QCOMPARE(found.error, QString());
    QCOMPARE(namesOf(found), expected);
}

void ScreenshotIndexTest::renameMoveUndoAndDeleteKeepResultsTrue()
{
    add(u"Screenshot 1.png"_s, u"Order number 88231 shipped"_s, 0);
    const QString original = m_temp->filePath(u"Screenshot 1.png"_s);
    QCOMPARE(QFile::permissions(indexPath()) & 0x0077, QFileDevice::Permissions());

    // Renamed, then moved to a category folder: the word on it finds it where it is now.
    const QString renamed = m_temp->filePath(u"order-shipped.png"_s);
    const QString moved = m_temp->filePath(u"Receipts/order-shipped.png"_s);
    QVERIFY(QFile::rename(original, renamed));
    QCOMPARE(m_index->move(original, renamed), std::nullopt);
    QVERIFY(QDir(m_temp->path()).mkpath(u"Receipts"_s));
    QVERIFY(QFile::rename(renamed, moved));
    QCOMPARE(m_index->move(renamed, moved), std::nullopt);
    QCOMPARE(m_index->search(u"88231"_s, 5).hits.value(0).path, moved);
    QCOMPARE(m_index->search(u"order shipped"_s, 5).hits.size(), 1);
    QCOMPARE(m_index->search(u"88231"_s, 5).hits.value(0).snippet, u"Order number \x02"
                                                                   "88231\x03 shipped"_s);

    // Undone: back under its first name, the renamed name no longer matches.
    QVERIFY(QFile::rename(moved, original));
    QCOMPARE(m_index->move(moved, original), std::nullopt);
    QCOMPARE(namesOf(m_index->search(u"88231"_s, 5)), QStringList{u"Screenshot 1.png"_s});

    // Deleted behind Quillo's back: dropped the first time a search points at it.
    QVERIFY(QFile::remove(original));
    QCOMPARE(m_index->size().count, 1);
    QCOMPARE(m_index->search(u"88231"_s, 5).hits, QList<SearchHit>());
    QCOMPARE(m_index->size().count, 0);

    add(u"again.png"_s, u"Order number 88231"_s, 0);
    QCOMPARE(m_index->remove(m_temp->filePath(u"again.png"_s)), std::nullopt);
    QCOMPARE(m_index->size().count, 0);
}

void ScreenshotIndexTest::damagedIndexIsSetAsideAndStartedAfresh_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("not a database") << u"garbage"_s;
    QTest::newRow("truncated") << u"truncated"_s;
    QTest::newRow("from a newer Quillo") << u"newer"_s;
}

void ScreenshotIndexTest::damagedIndexIsSetAsideAndStartedAfresh()
{
    QFETCH(QString, damage);
    for (int i = 0; i < 200; ++i)
        add(u"shot-%1.png"_s.arg(i),
            u"row %1 with some words about kittens and receipts %2"_s.arg(i).repeated(20), i);
    m_index.reset();
    QFile file(indexPath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    if (damage == u"garbage")
        file.write(QByteArray(8192, 'x'));
    else if (damage == u"truncated")
        file.resize(file.size() / 3);
    else
        file.seek(60), file.write(QByteArray::fromHex("00000063")); // the user version, big-endian
    file.close();
    const QByteArray damaged = TestFiles::read(indexPath());

    m_index = std::make_unique<ScreenshotIndex>(indexPath());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"search index could not be read.*moved to"_s));
    add(u"fresh.png"_s, u"kittens"_s, 0);
    QCOMPARE(namesOf(m_index->search(u"kittens"_s, 5)), QStringList{u"fresh.png"_s});
    const QStringList aside = QDir(QFileInfo(indexPath()).path()).entryList({u"index.sqlite.damaged-*"_s});
    QVERIFY2(!aside.isEmpty(), qPrintable(aside.join(u' ')));
    QCOMPARE(TestFiles::read(QFileInfo(indexPath()).dir().filePath(aside.first())).left(4096),
             damaged.left(4096));
}

void ScreenshotIndexTest::olderIndexIsMigratedKeepingItsRows()
{
    add(u"invoice-2043.png"_s, u"Invoice 2043"_s, 1);
    m_index.reset();
    QFile file(indexPath());
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(60), file.write(QByteArray::fromHex("00000001"));
    file.close();

    m_index = std::make_unique<ScreenshotIndex>(indexPath());
    // Found through one-letter prefixes, which the older index could not look up on their own.
    QCOMPARE(namesOf(m_index->search(u"i 2"_s, 5)), QStringList{u"invoice-2043.png"_s});
    QCOMPARE(QDir(QFileInfo(indexPath()).path()).entryList({u"index.sqlite.damaged-*"_s}), QStringList());
}

QTEST_GUILESS_MAIN(ScreenshotIndexTest)
#include "ScreenshotIndexTest.moc"
