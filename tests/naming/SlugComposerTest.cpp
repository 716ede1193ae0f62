#include "naming/SlugComposer.h"

#include <QRegularExpression>
#include <QTest>

class SlugComposerTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("."))); }
    void add_data();
    void add();
};

void SlugComposerTest::add_data()
{
    // Each group is written as space-separated words; a leading "+" allows a partial group.
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("expected");
    const auto words = [](const char *text) {
        return QString::fromUtf8(text).split(u' ');
    };
    QTest::addRow("empty composer takes a whole group")
        << QStringList{"slack general channel"} << words("slack general channel");
    QTest::addRow("three held, whole group does not fit, dropped")
        << QStringList{"a1 b1 c1", "d1 e1 f1"} << words("a1 b1 c1");
    QTest::addRow("three held, partial allowed, first two taken")
        << QStringList{"a1 b1 c1", "+d1 e1 f1"} << words("a1 b1 c1 d1 e1");
    QTest::addRow("two held, four fresh, first three taken")
        << QStringList{"a1 b1", "c1 d1 e1 f1"} << words("a1 b1 c1 d1 e1");
    QTest::addRow("group that fits exactly") << QStringList{"a1 b1 c1", "d1 e1"} << words("a1 b1 c1 d1 e1");
    QTest::addRow("known words are not fresh") << QStringList{"a1 b1 c1", "a1 c1 d1"} << words("a1 b1 c1 d1");
    QTest::addRow("repeats within a group count once") << QStringList{"a1 a1 b1 a1"} << words("a1 b1");
    QTest::addRow("long first group cut to five")
        << QStringList{"a1 b1 c1 d1 e1 f1 g1"} << words("a1 b1 c1 d1 e1");
    QTest::addRow("full composer ignores even partial groups")
        << QStringList{"a1 b1 c1 d1 e1", "+f1"} << words("a1 b1 c1 d1 e1");
}

void SlugComposerTest::add()
{
    QFETCH(QStringList, groups);
    QFETCH(QStringList, expected);
    SlugComposer composer;
    for (QString group : groups) {
        const bool allowingPartial = group.startsWith(u'+');
        if (allowingPartial)
            group.remove(0, 1);
        composer.add(group.split(u' '), allowingPartial);
    }
    QCOMPARE(composer.words(), expected);
}

QTEST_GUILESS_MAIN(SlugComposerTest)
#include "SlugComposerTest.moc"
