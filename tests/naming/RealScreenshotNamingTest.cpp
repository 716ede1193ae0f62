// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/ScreenshotNamer.h"
#include "naming/WordRanking.h"
#include "reading/ReadingWorkers.h"

#include <QFile>
#include <QTest>
#include <QThreadPool>

using namespace Qt::StringLiterals;

// Real screenshots from public projects (tests/data/screenshots), named as
// `quillo name` names them (real Tesseract, no model), some with the window they were taken from. Each row
// stands for a class of error: the name must hold one of the subject's words, none of the words that class
// of error puts there, and no two words of one idea.
class RealScreenshotNamingTest : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();

private:
    // Warm across rows, as in a burst of screenshots.
    const std::shared_ptr<ReadingWorkers> m_reading =
        std::make_shared<ReadingWorkers>(ReadingWorkers::Options{QStringLiteral(QUILLO_READER), {}, 1});
};

void RealScreenshotNamingTest::names_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QStringList>("anyOf");
    QTest::addColumn<QStringList>("noneOf");
    QTest::addColumn<ScreenshotCategory>("category");
    QTest::addColumn<CaptureContext>("context");
    const CaptureContext none;

    QTest::addRow("window buttons and a terminal title's specks")
        << u"c047.png"_s << QStringList{"wezterm", "rust", "rs"} << QStringList{"eee", "mbp"}
        << ScreenshotCategory::Code << none;
    QTest::addRow("window buttons read as a word")
        << u"c059.png"_s << QStringList{"design", "color"} << QStringList{"eeo", "oe", "estled"}
        << ScreenshotCategory::Design << none;
    QTest::addRow("a help line is no heading")
        << u"c002.png"_s << QStringList{"make", "test", "check", "lnav"}
        << QStringList{"press", "enter", "focus", "breadcrumb"} << ScreenshotCategory::Code << none;
    QTest::addRow("the recurring subject over panel labels")
        << u"c031.png"_s << QStringList{"class", "uml", "diagram"} << QStringList{"show", "attributes"}
        << ScreenshotCategory::Design << none;
    QTest::addRow("the site named all over the page, not its headings")
        << u"c036.png"_s << QStringList{"hugo"} << QStringList{"goals"} << ScreenshotCategory::Web << none;
    QTest::addRow("a shop order") << u"c051.png"_s << QStringList{"order", "store"}
                                  << QStringList{"youll", "receive"} << ScreenshotCategory::Receipts << none;
    QTest::addRow("a game library is other") << u"c029.png"_s << QStringList{"steam", "cartridges", "games"}
                                             << QStringList{} << ScreenshotCategory::Other << none;

    // A terminal's title names its user and host before the folder; only the folder says something.
    QTest::addRow("a terminal title's user and host")
        << u"c047.png"_s << QStringList{"wezterm", "rust", "rs"} << QStringList{"wez", "mbp", "personal"}
        << ScreenshotCategory::Code
        << CaptureContext{u"WezTerm"_s, u"org.wezfurlong.wezterm"_s,
                          u"wez@wez-mbp: ~/wez-personal/wezterm"_s};
    QTest::addRow("an invoice number's prefix beside invoice in a browser title")
        << u"c001.png"_s << QStringList{"invoice", "killbill", "kill"}
        << QStringList{"inv", "mozilla", "firefox"} << ScreenshotCategory::Receipts
        << CaptureContext{u"Firefox ESR"_s, u"firefox-esr"_s, u"Invoice INV#3246 \u2014 Mozilla Firefox"_s};
    QTest::addRow("a monitoring dashboard in a browser is web")
        << u"c011.png"_s << QStringList{"docker", "grafana"} << QStringList{"mozilla", "firefox"}
        << ScreenshotCategory::Web
        << CaptureContext{u"Firefox ESR"_s, u"firefox-esr"_s,
                          u"Docker Host - Grafana \u2014 Mozilla Firefox"_s};
    QTest::addRow("a text editor's document under a temporary folder")
        << u"h001.png"_s << QStringList{"pluto"} << QStringList{"tmp", "newcomer", "content", "mousepad"}
        << ScreenshotCategory::Chats
        << CaptureContext{u"Mousepad"_s, u"org.xfce.mousepad"_s,
                          u"/tmp/newcomer-content/pluto.md - Mousepad"_s};
    QTest::addRow("a markdown editor's document")
        << u"h001.png"_s << QStringList{"pluto"} << QStringList{"documents"} << ScreenshotCategory::Chats
        << CaptureContext{u"Quilter"_s, u"com.github.lainsce.quilter"_s, u"pluto.md"_s};
}

void RealScreenshotNamingTest::names()
{
    QFETCH(QString, image);
    QFETCH(QStringList, anyOf);
    QFETCH(QStringList, noneOf);
    QFETCH(ScreenshotCategory, category);
    QFETCH(CaptureContext, context);
    const QString path = QStringLiteral(QUILLO_TEST_DATA "/screenshots/") + image;
    QVERIFY2(QFile::exists(path), qPrintable(path + u" is missing"_s));
    QThreadPool pool;
    ScreenshotNamer::Options options;
    options.reading = m_reading;
    const ScreenshotNamer namer(options, pool);

    const NamingSuggestion named =
        namer.name(path, context, RoutingConfiguration::defaultConfiguration()).suggestion;
    const QStringList words = named.slug.split(u'-');
    QVERIFY2(std::any_of(anyOf.begin(), anyOf.end(),
                         [&](const QString &word) {
                             return words.contains(word);
                         }),
             qPrintable(named.slug));
    for (const QString &word : noneOf)
        QVERIFY2(!words.contains(word), qPrintable(named.slug));
    for (qsizetype i = 0; i < words.size(); ++i) {
        for (qsizetype j = i + 1; j < words.size(); ++j)
            QVERIFY2(!WordRanking::isSameIdea(words[i], words[j]), qPrintable(named.slug));
    }
    QCOMPARE(rawValue(named.category), rawValue(category));
}

QTEST_GUILESS_MAIN(RealScreenshotNamingTest)
#include "RealScreenshotNamingTest.moc"
