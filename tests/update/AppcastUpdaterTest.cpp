// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/AppcastUpdater.h"

#include "support/FakeWebServer.h"
#include "support/TestFiles.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sodium.h>

using namespace Qt::StringLiterals;
using Outcome = UpdateCheckResult::Outcome;

namespace {

struct KeyPair
{
    QByteArray publicKey{crypto_sign_PUBLICKEYBYTES, '\0'};
    QByteArray secretKey{crypto_sign_SECRETKEYBYTES, '\0'};

    KeyPair()
    {
        crypto_sign_keypair(reinterpret_cast<unsigned char *>(publicKey.data()),
                            reinterpret_cast<unsigned char *>(secretKey.data()));
    }

    QString sign(const QByteArray &data) const
    {
        QByteArray signature(crypto_sign_BYTES, '\0');
        crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr,
                             reinterpret_cast<const unsigned char *>(data.constData()), quint64(data.size()),
                             reinterpret_cast<const unsigned char *>(secretKey.constData()));
        return QString::fromLatin1(signature.toBase64());
    }
};

// An update feed offering one release; the archive's address is relative to the feed.
QByteArray feed(const QString &version, qint64 length, const QString &signature)
{
    const QString signatureAttribute =
        signature.isEmpty() ? QString() : u" sparkle:edSignature=\"%1\""_s.arg(signature);
    return QString::fromLatin1(R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="urn:quillo:updates">
  <channel><title>Quillo</title>
    <item><title>Quillo %1</title>
      <sparkle:version>%1</sparkle:version><sparkle:shortVersionString>%1</sparkle:shortVersionString>
      <enclosure url="files/Quillo-x86_64.AppImage" length="%2"%3 type="application/octet-stream"/>
    </item>
  </channel>
</rss>)")
        .arg(version)
        .arg(length)
        .arg(signatureAttribute)
        .toUtf8();
}

} // namespace

class AppcastUpdaterTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void check_data();
    void check();
    void installReplacesTheAppImage();
    void configuration_data();
    void configuration();

private:
    UpdateCheckResult runCheck(AppcastUpdater &updater);
    std::unique_ptr<AppcastUpdater> updater(const QByteArray &publicKey);

    const KeyPair m_keys;
    const QByteArray m_archive = QByteArray(300000, 'q') + "the new Quillo";
    std::unique_ptr<QTemporaryDir> m_temp;
    std::unique_ptr<FakeWebServer> m_server;
};

void AppcastUpdaterTest::init()
{
    QTest::failOnWarning(QRegularExpression(u"."_s));
    m_temp = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<FakeWebServer>();
}

std::unique_ptr<AppcastUpdater> AppcastUpdaterTest::updater(const QByteArray &publicKey)
{
    return std::make_unique<AppcastUpdater>(UpdateFeed{m_server->url(u"/updates/appcast.xml"_s), publicKey},
                                            u"0.1.0"_s, m_temp->filePath(u"downloads"_s));
}

UpdateCheckResult AppcastUpdaterTest::runCheck(AppcastUpdater &updater)
{
    QSignalSpy finished(&updater, &AppcastUpdater::finished);
    updater.check();
    if (!finished.wait(10000))
        return {Outcome::Failed, {}, {}, u"no result"_s};
    return finished.first().first().value<UpdateCheckResult>();
}

void AppcastUpdaterTest::check_data()
{
    QTest::addColumn<QByteArray>("appcast");
    QTest::addColumn<QByteArray>("served");
    QTest::addColumn<bool>("wrongKey");
    QTest::addColumn<Outcome>("expected");
    QTest::addColumn<QString>("errorPart");
    const QString signature = m_keys.sign(m_archive);
    const qint64 length = m_archive.size();
    QByteArray tampered = m_archive;
    tampered[1000] = 'x';

    QTest::addRow("newer release is downloaded and verified")
        << feed(u"0.2.0"_s, length, signature) << m_archive << false << Outcome::Ready << QString();
    QTest::addRow("same version is up to date")
        << feed(u"0.1.0"_s, length, signature) << m_archive << false << Outcome::UpToDate << QString();
    QTest::addRow("tampered archive") << feed(u"0.2.0"_s, length, signature) << tampered << false
                                      << Outcome::Failed << u"signature of Quillo 0.2.0 does not match"_s;
    QTest::addRow("signed with another key")
        << feed(u"0.2.0"_s, length, signature) << m_archive << true << Outcome::Failed << u"does not match"_s;
    QTest::addRow("enclosure without a signature") << feed(u"0.2.0"_s, length, QString()) << m_archive
                                                   << false << Outcome::Failed << u"without a signature"_s;
    QTest::addRow("body larger than its stated length")
        << feed(u"0.2.0"_s, length, signature) << m_archive + "more" << false << Outcome::Failed
        << u"larger than the 300014 bytes"_s;
    QTest::addRow("feed that is not XML") << QByteArray("Service temporarily unavailable") << m_archive
                                          << false << Outcome::Failed << u"not valid XML"_s;
    QTest::addRow("feed missing on the server")
        << QByteArray() << m_archive << false << Outcome::Failed << u"HTTP status 404"_s;
}

void AppcastUpdaterTest::check()
{
    QFETCH(QByteArray, appcast);
    QFETCH(QByteArray, served);
    QFETCH(bool, wrongKey);
    QFETCH(Outcome, expected);
    QFETCH(QString, errorPart);
    if (!appcast.isEmpty())
        m_server->serve("/updates/appcast.xml", appcast);
    m_server->serve("/updates/files/Quillo-x86_64.AppImage", served);

    const auto checker = updater(wrongKey ? KeyPair().publicKey : m_keys.publicKey);
    const UpdateCheckResult result = runCheck(*checker);
    QCOMPARE(result.outcome, expected);
    QVERIFY2(result.error.contains(errorPart), qPrintable(result.error));
    // Only a verified archive is kept; nothing partial is left behind.
    const QStringList kept = TestFiles::filesUnder(m_temp->filePath(u"downloads"_s));
    QCOMPARE(kept, expected == Outcome::Ready ? QStringList{u"Quillo-x86_64.AppImage"_s} : QStringList());
    if (expected == Outcome::Ready)
        QCOMPARE(TestFiles::read(result.archivePath), m_archive);
}

void AppcastUpdaterTest::installReplacesTheAppImage()
{
    m_server->serve("/updates/appcast.xml", feed(u"0.2.0"_s, m_archive.size(), m_keys.sign(m_archive)));
    m_server->serve("/updates/files/Quillo-x86_64.AppImage", m_archive);
    const auto checker = updater(m_keys.publicKey);
    QCOMPARE(runCheck(*checker).outcome, Outcome::Ready);

    const QString appImage = m_temp->filePath(u"Apps with spaces/Quillo.AppImage"_s);
    QVERIFY(TestFiles::write(appImage, "old Quillo"));
    QCOMPARE(checker->install(appImage), std::nullopt);
    QCOMPARE(TestFiles::read(appImage), m_archive);
    QVERIFY(QFileInfo(appImage).isExecutable());
    QCOMPARE(TestFiles::filesUnder(QFileInfo(appImage).path()), QStringList{u"Quillo.AppImage"_s});
    QVERIFY(checker->install(appImage).has_value()); // nothing left to install
}

void AppcastUpdaterTest::configuration_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("hasUpdater");
    const QString key = QString::fromLatin1(m_keys.publicKey.toBase64());
    const QString feedUrl = u"https://updates.quillo.org/appcast.xml"_s;

    QTest::addRow("address and key") << feedUrl << key << true;
    QTest::addRow("neither") << QString() << QString() << false;
    QTest::addRow("no key") << feedUrl << QString() << false;
    QTest::addRow("no address") << QString() << key << false;
    QTest::addRow("key of the wrong size") << feedUrl << u"c2hvcnQ="_s << false;
    QTest::addRow("plain HTTP to another computer")
        << u"http://updates.quillo.org/appcast.xml"_s << key << false;
}

void AppcastUpdaterTest::configuration()
{
    QFETCH(QString, url);
    QFETCH(QString, key);
    QFETCH(bool, hasUpdater);
    QCOMPARE(UpdateFeed::fromConfiguration(url, key).has_value(), hasUpdater);
}

QTEST_GUILESS_MAIN(AppcastUpdaterTest)
#include "AppcastUpdaterTest.moc"
