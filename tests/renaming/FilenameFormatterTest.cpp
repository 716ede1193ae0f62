// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/FilenameFormatter.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

class FilenameFormatterTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void filenameJoinsOnlyANonEmptyExtension();
    void dateSuffix_data();
    void dateSuffix();
    void userBaseName_data();
    void userBaseName();
    void folderName_data();
    void folderName();
};

void FilenameFormatterTest::filenameJoinsOnlyANonEmptyExtension()
{
    QCOMPARE(FilenameFormatter::filename(u"notes"_s, QString()), u"notes"_s);
    QCOMPARE(FilenameFormatter::filename(u"Notes"_s, u"PNG"_s), u"Notes.PNG"_s);
}

void FilenameFormatterTest::dateSuffix_data()
{
    QTest::addColumn<QDateTime>("instant");
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("expected");
    const auto utc = [](int y, int mo, int d, int h, int m = 0) {
        return QDateTime(QDate(y, mo, d), QTime(h, m), Qt::UTC);
    };
    QTest::addRow("single digits are padded") << utc(2025, 3, 4, 12) << QByteArray("UTC") << u"2025-03-04"_s;
    QTest::addRow("new year in UTC, old year locally")
        << utc(2025, 1, 1, 3) << QByteArray("America/New_York") << u"2024-12-31"_s;
    QTest::addRow("old year in UTC, new year locally")
        << utc(2024, 12, 31, 20) << QByteArray("Asia/Tokyo") << u"2025-01-01"_s;
    QTest::addRow("half-hour zone crosses midnight")
        << utc(2025, 3, 14, 18, 45) << QByteArray("Asia/Kolkata") << u"2025-03-15"_s;
    QTest::addRow("invalid instant gives zeros") << QDateTime() << QByteArray("UTC") << u"0000-00-00"_s;
}

void FilenameFormatterTest::dateSuffix()
{
    QFETCH(QDateTime, instant);
    QFETCH(QByteArray, zone);
    QFETCH(QString, expected);
    QVERIFY(QTimeZone(zone).isValid());
    QCOMPARE(FilenameFormatter::dateSuffix(instant, QTimeZone(zone)), expected);
}

void FilenameFormatterTest::userBaseName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // null: nothing usable
    const QString a199(199, u'a');
    QTest::addRow("accent, comma and exclamation") << u"Café Receipt, March!"_s << u"cafe-receipt-march"_s;
    QTest::addRow("apostrophe dropped") << u"don't panic"_s << u"dont-panic"_s;
    QTest::addRow("separators at both ends") << u" -- Hello   World -- "_s << u"hello-world"_s;
    QTest::addRow("only punctuation") << u"!!! ... ???"_s << QString();
    QTest::addRow("only Japanese") << u"請求書のスクリーンショット"_s << QString();
    QTest::addRow("empty") << u""_s << QString();
    QTest::addRow("exactly 200 kept")
        << a199.left(100) + " " + a199.left(99) << a199.left(100) + "-" + a199.left(99);
    QTest::addRow("one long word cut to 200") << QString(250, u'a') << QString(200, u'a');
    QTest::addRow("hyphen left at the cut removed") << a199 + " bb" << a199;
}

void FilenameFormatterTest::userBaseName()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const std::optional<QString> name = FilenameFormatter::userBaseName(text);
    QCOMPARE(name.has_value(), !expected.isNull());
    QCOMPARE(name.value_or(QString()), expected);
}

void FilenameFormatterTest::folderName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::addRow("slashes, colon, dots and spaces") << u"  ..Work/Notes: 2024 "_s << u"Work-Notes- 2024"_s;
    QTest::addRow("only dots") << u"..."_s << u"Fallback"_s;
    QTest::addRow("dots and spaces mixed are never hidden") << u". . x"_s << u"x"_s;
    QTest::addRow("dots and spaces only") << u" . . "_s << u"Fallback"_s;
    QTest::addRow("line breaks trimmed") << u"\nReceipts\n"_s << u"Receipts"_s;
    QTest::addRow("ordinary name unchanged") << u"UI & Design"_s << u"UI & Design"_s;
}

void FilenameFormatterTest::folderName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(FilenameFormatter::folderName(name, u"Fallback"_s), expected);
}

QTEST_GUILESS_MAIN(FilenameFormatterTest)
#include "FilenameFormatterTest.moc"
