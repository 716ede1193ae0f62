// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/ScreenshotNamer.h"

#include <QFile>
#include <QTest>
#include <QThreadPool>

using namespace Qt::StringLiterals;

// Real screenshots from public projects (tests/data/screenshots), named as `quillo name` names them (real
// Tesseract, no model). Each row stands for a class of error: the name must hold one of the subject's words
// and none of the words that class of error puts there.
class RealScreenshotNamingTest : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
};

void RealScreenshotNamingTest::names_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QStringList>("anyOf");
    QTest::addColumn<QStringList>("noneOf");
    QTest::addColumn<ScreenshotCategory>("category");

    QTest::addRow("window buttons and a terminal title's specks")
        << u"c047.png"_s << QStringList{"wezterm", "rust", "rs"} << QStringList{"eee", "mbp"}
        << ScreenshotCategory::Code;
    QTest::addRow("window buttons read as a word")
        << u"c059.png"_s << QStringList{"design", "color"} << QStringList{"eeo", "oe", "estled"}
        << ScreenshotCategory::Design;
    QTest::addRow("a help line is no heading")
        << u"c002.png"_s << QStringList{"make", "test", "check", "lnav"}
        << QStringList{"press", "enter", "focus", "breadcrumb"} << ScreenshotCategory::Code;
    QTest::addRow("the recurring subject over panel labels")
        << u"c031.png"_s << QStringList{"class", "uml", "diagram"} << QStringList{"show", "attributes"}
        << ScreenshotCategory::Design;
    QTest::addRow("the site named all over the page, not its headings")
        << u"c036.png"_s << QStringList{"hugo"} << QStringList{"goals"} << ScreenshotCategory::Web;
    QTest::addRow("a shop order") << u"c051.png"_s << QStringList{"order", "store"}
                                  << QStringList{"youll", "receive"} << ScreenshotCategory::Receipts;
    QTest::addRow("a game library is other") << u"c029.png"_s << QStringList{"steam", "cartridges", "games"}
                                             << QStringList{} << ScreenshotCategory::Other;
}

void RealScreenshotNamingTest::names()
{
    QFETCH(QString, image);
    QFETCH(QStringList, anyOf);
    QFETCH(QStringList, noneOf);
    QFETCH(ScreenshotCategory, category);
    const QString path = QStringLiteral(QUILLO_TEST_DATA "/screenshots/") + image;
    QVERIFY2(QFile::exists(path), qPrintable(path + u" is missing"_s));
    QThreadPool pool;
    const ScreenshotNamer namer({}, pool);

    const NamingSuggestion named =
        namer.name(path, CaptureContext{}, RoutingConfiguration::defaultConfiguration()).suggestion;
    const QStringList words = named.slug.split(u'-');
    QVERIFY2(std::any_of(anyOf.begin(), anyOf.end(),
                         [&](const QString &word) {
                             return words.contains(word);
                         }),
             qPrintable(named.slug));
    for (const QString &word : noneOf)
        QVERIFY2(!words.contains(word), qPrintable(named.slug));
    QCOMPARE(rawValue(named.category), rawValue(category));
}

QTEST_GUILESS_MAIN(RealScreenshotNamingTest)
#include "RealScreenshotNamingTest.moc"
