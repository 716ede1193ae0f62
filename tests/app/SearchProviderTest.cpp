// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopsearch/KRunnerProvider.h"
#include "index/ScreenshotIndex.h"

#include <QCryptographicHash>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

const QString gnome = u"org.gnome.Shell.SearchProvider2"_s;
const QString krunner = u"org.kde.krunner1"_s;

QByteArray url(const QString &path)
{
    return QUrl::fromLocalFile(path).toEncoded();
}

// Asks the search provider as the desktop does, long enough for the bus to start it.
QVariant ask(const QString &interface, const QString &method, const QVariantList &arguments = {})
{
    auto call = QDBusMessage::createMethodCall(u"org.quillo.Quillo.SearchProvider"_s,
                                               interface == gnome ? u"/org/quillo/Quillo/SearchProvider"_s
                                                                  : u"/org/quillo/Quillo/KRunner"_s,
                                               interface, method);
    call.setArguments(arguments);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 20'000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        qWarning() << method << reply.errorMessage();
    return reply.arguments().value(0);
}

QStringList gnomeFinds(const QStringList &terms)
{
    return ask(gnome, u"GetInitialResultSet"_s, {terms}).toStringList();
}

QList<RunnerMatch> krunnerMatches(const QString &query)
{
    return qdbus_cast<QList<RunnerMatch>>(ask(krunner, u"Match"_s, {query}));
}

} // namespace

// The real `quillo --search-provider`, which the test's private bus starts from this build's
// service file on the first question, asked as GNOME Shell and KRunner ask.
class SearchProviderTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void withoutAnIndexNothingIsFoundAndNoneIsMade();
    void bothProvidersFindTheSameScreenshots_data();
    void bothProvidersFindTheSameScreenshots();
    void resultsShowTheirWordsAndPicture_data();
    void resultsShowTheirWordsAndPicture();
    void choosingAResultOpensOrRevealsIt_data();
    void choosingAResultOpensOrRevealsIt();
    void cleanupTestCase();

private:
    QString shot(const QString &name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder{QDir::homePath() + u"/Screen shots XXXXXX"_s};
};

void SearchProviderTest::initTestCase()
{
    KRunnerProvider::registerTypes();
    qDBusRegisterMetaType<QList<QVariantMap>>();
    qDBusRegisterMetaType<QMap<QString, QString>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The default application, as xdg-open would start it, notes what it was given; programs the
    // bus starts find it first. There is no file manager on this bus, so revealing opens the folder.
    QFile opener(shot(u"xdg-open"_s));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write(u"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n"_s.arg(shot(u"opened"_s)).toUtf8());
    opener.close();
    QVERIFY(opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner));
    auto update = QDBusMessage::createMethodCall(u"org.freedesktop.DBus"_s, u"/org/freedesktop/DBus"_s,
                                                 u"org.freedesktop.DBus"_s, u"UpdateActivationEnvironment"_s);
    // Fresh data and cache folders on every run, for this test and the programs the bus starts.
    QMap<QString, QString> environment{{u"PATH"_s, m_folder.path() + u':' + qEnvironmentVariable("PATH")},
                                       {u"XDG_DATA_HOME"_s, shot(u"data"_s)},
                                       {u"XDG_CACHE_HOME"_s, shot(u"cache"_s)}};
    for (auto variable = environment.cbegin(); variable != environment.cend(); ++variable)
        qputenv(variable.key().toLatin1(), variable.value().toUtf8());
    update << QVariant::fromValue(environment);
    QCOMPARE(bus.call(update).type(), QDBusMessage::ReplyMessage);
}

void SearchProviderTest::withoutAnIndexNothingIsFoundAndNoneIsMade()
{
    QVERIFY(gnomeFinds({u"invoice"_s}).isEmpty());
    QVERIFY(krunnerMatches(u"invoice"_s).isEmpty());
    QVERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(
        u"org.quillo.Quillo.SearchProvider"_s));
    QVERIFY(!QFileInfo::exists(ScreenshotIndex::defaultPath()));

    // Written here rather than by the program, for what follows.
    ScreenshotIndex index(ScreenshotIndex::defaultPath());
    const auto at = [](int day) {
        return QDateTime(QDate(2026, 11, day), QTime(9, 30), Qt::UTC);
    };
    const QString acme = shot(u"invoice acme.png"_s), cafe = shot(u"café menu.png"_s),
                  gone = shot(u"gone.png"_s);
    for (const IndexEntry &entry :
         {IndexEntry{acme, {}, u"receipts"_s, at(2), {}, {}, u"ACME Invoice 2043\nTotal 99 EUR"_s},
          IndexEntry{cafe, {}, {}, at(3), {}, {}, u"Café Berlin menu\nInvoice paid"_s},
          IndexEntry{gone, {}, {}, at(4), {}, {}, u"Invoice 2043 copy"_s}}) {
        QFile file(entry.path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(index.put(entry), std::nullopt);
    }
    QVERIFY(QFile::remove(gone));
}

void SearchProviderTest::bothProvidersFindTheSameScreenshots_data()
{
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QStringList>("expected");
    const QString acme = u"invoice acme.png"_s, cafe = u"café menu.png"_s;
    QTest::addRow("a word on it but not in its name") << QStringList{u"2043"_s} << QStringList{acme};
    QTest::addRow("every term, by prefix, regardless of case and accents")
        << QStringList{u"CAFE"_s, u"berl"_s} << QStringList{cafe};
    QTest::addRow("most relevant first, a file that is gone left out")
        << QStringList{u"invoice"_s} << QStringList{acme, cafe};
    QTest::addRow("query syntax is only words")
        << QStringList{u"\"invoice"_s, u"OR"_s, u"menu*"_s} << QStringList{};
    QTest::addRow("too short to be of use") << QStringList{u"in"_s} << QStringList{};
}

void SearchProviderTest::bothProvidersFindTheSameScreenshots()
{
    QFETCH(QStringList, terms);
    QFETCH(QStringList, expected);
    QStringList paths, matched;
    for (const QString &name : expected)
        paths.append(shot(name));
    QCOMPARE(gnomeFinds(terms), paths);
    for (const RunnerMatch &match : krunnerMatches(terms.join(u' ')))
        matched.append(match.id);
    QCOMPARE(matched, paths);
    // Narrowing GNOME's earlier results never brings back one it dropped.
    QCOMPARE(ask(gnome, u"GetSubsearchResultSet"_s, {paths.mid(1), terms}).toStringList(), paths.mid(1));
}

void SearchProviderTest::resultsShowTheirWordsAndPicture_data()
{
    QTest::addColumn<qint64>("thumbnailAge"); // seconds the thumbnail is older than the file; -1: none
    QTest::addRow("without a thumbnail, the file itself") << qint64(-1);
    QTest::addRow("a fresh thumbnail from the shared cache") << qint64(0);
    QTest::addRow("a stale thumbnail is passed over") << qint64(60);
}

void SearchProviderTest::resultsShowTheirWordsAndPicture()
{
    QFETCH(qint64, thumbnailAge);
    const QString file = shot(u"invoice acme.png"_s);
    const QString thumbnail =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + u"/thumbnails/normal/"_s +
        QCryptographicHash::hash(url(file), QCryptographicHash::Md5).toHex() + u".png"_s;
    QFile::remove(thumbnail);
    QImage picture(16, 8, QImage::Format_ARGB32);
    picture.setText(u"Thumb::MTime"_s,
                    QString::number(QFileInfo(file).lastModified().toSecsSinceEpoch() - thumbnailAge));
    QVERIFY(thumbnailAge < 0 || (QDir().mkpath(QFileInfo(thumbnail).path()) && picture.save(thumbnail)));
    const bool showsThumbnail = thumbnailAge == 0;
    QCOMPARE(gnomeFinds({u"2043"_s}), QStringList{file});

    const auto metas = qdbus_cast<QList<QVariantMap>>(
        ask(gnome, u"GetResultMetas"_s, {QStringList{file, u"/no/such/file.png"_s}}));
    QCOMPARE(metas.size(), 1);
    QCOMPARE(metas[0][u"id"_s].toString(), file);
    QCOMPARE(metas[0][u"name"_s].toString(), u"invoice acme.png"_s);
    const QString description = metas[0][u"description"_s].toString();
    QVERIFY2(description.contains(u", in receipts: ACME Invoice 2043 Total 99 EUR"_s),
             qPrintable(description));
    QCOMPARE(metas[0][u"gicon"_s].toString(), showsThumbnail ? thumbnail : file);

    const QList<RunnerMatch> matches = krunnerMatches(u"2043"_s);
    QCOMPARE(matches.size(), 1);
    QCOMPARE(matches[0].text, u"invoice acme.png"_s);
    QCOMPARE(matches[0].properties[u"subtext"_s].toString(), description);
    QCOMPARE(matches[0].properties[u"urls"_s].toStringList(), QStringList{QString::fromLatin1(url(file))});
    const auto image = qdbus_cast<RunnerImage>(matches[0].properties.value(u"icon-data"_s));
    QCOMPARE(image.width, showsThumbnail ? 16 : 0);
    QCOMPARE(image.data.size(), qsizetype(image.rowStride) * image.height);
}

void SearchProviderTest::choosingAResultOpensOrRevealsIt_data()
{
    QTest::addColumn<QString>("interface");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantList>("arguments"); // after the result's id
    QTest::addColumn<QString>("opened");
    QTest::addRow("GNOME activates a result")
        << gnome << u"ActivateResult"_s << QVariantList{QStringList{}, 0u} << u"invoice acme.png"_s;
    QTest::addRow("KRunner runs a match")
        << krunner << u"Run"_s << QVariantList{QString()} << u"invoice acme.png"_s;
    QTest::addRow("KRunner's second action") << krunner << u"Run"_s << QVariantList{u"reveal"_s} << QString();
}

void SearchProviderTest::choosingAResultOpensOrRevealsIt()
{
    QFETCH(QString, interface);
    QFETCH(QString, method);
    QFETCH(QVariantList, arguments);
    QFETCH(QString, opened);
    QFile::remove(shot(u"opened"_s));
    QCOMPARE(qdbus_cast<QList<RunnerAction>>(ask(krunner, u"Actions"_s)),
             (QList<RunnerAction>{{u"reveal"_s, u"Show in Folder"_s, u"folder-open"_s}}));

    // What is no file is never handed on: only the one line below arrives.
    ask(interface, method, QVariantList{u"../etc/passwd"_s} + arguments);
    ask(interface, method, QVariantList{shot(u"invoice acme.png"_s)} + arguments);
    const auto said = [this] {
        QFile file(shot(u"opened"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE(said(), url(QDir::cleanPath(shot(opened))) + '\n');
}

void SearchProviderTest::cleanupTestCase()
{
    // Else it stays for its idle time, and the test's output with it.
    const QDBusReply<uint> pid =
        QDBusConnection::sessionBus().interface()->servicePid(u"org.quillo.Quillo.SearchProvider"_s);
    QVERIFY(pid.isValid());
    QCOMPARE(::kill(pid.value(), SIGTERM), 0);
}

QTEST_GUILESS_MAIN(SearchProviderTest)
#include "SearchProviderTest.moc"
