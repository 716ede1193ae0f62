// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsPresentation.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace SettingsPresentation;

class SettingsPresentationTest : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
};

void SettingsPresentationTest::texts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    const QString home = u"/home/ann"_s;
    const QString nothingUploaded =
        u"Screenshots are read and named on this computer. Nothing is uploaded."_s;

    QTest::addRow("folder in the home folder")
        << watchedFolderText(u"/home/ann/Pictures/Shots/"_s, home) << u"~/Pictures/Shots"_s;
    QTest::addRow("the home folder itself") << watchedFolderText(home, home) << u"~"_s;
    QTest::addRow("folder beside home sharing its start")
        << watchedFolderText(u"/home/anna/Shots"_s, home) << u"/home/anna/Shots"_s;
    QTest::addRow("no folder") << watchedFolderText(std::nullopt, home) << u"Not watching"_s;
    const QList<WatchedFolder> tools{
        {u"/home/ann/Pictures/Screenshots"_s, {u"GNOME Shell"_s, u"default folder"_s}},
        {u"/home/ann/Pictures"_s, {u"gnome-screenshot"_s, u"Flameshot"_s}}};
    QTest::addRow("each folder with the tools saving there")
        << folderSourceText(tools, false, false, home)
        << u"~/Pictures/Screenshots (GNOME Shell, default folder)\n~/Pictures (gnome-screenshot, "
           u"Flameshot)\n"
           "Where your screenshot tool saves screenshots, read from its settings (Spectacle, Flameshot, or "
           "your "
           "Pictures/Screenshots folder). Change it there and Quillo follows."_s;
    QTest::addRow("no tool found") << folderSourceText(
                                          {{u"/home/ann/Pictures/Screenshots"_s, {u"default folder"_s}}},
                                          false, false, home)
                                   << u"No screenshot tool's settings were found, so Quillo watches this "
                                      u"folder, where GNOME and KDE save "
                                      "screenshots. If yours go elsewhere, choose that folder."_s;
    QTest::addRow("a custom folder") << folderSourceText(tools, true, false, home)
                                     << u"A custom folder you chose."_s;
    QTest::addRow("version and build")
        << versionText(u"0.2.0"_s, u"abc1234"_s) << u"Quillo 0.2.0 (abc1234)"_s;
    QTest::addRow("version without build") << versionText(u"0.2.0"_s, QString()) << u"Quillo 0.2.0"_s;
    QTest::addRow("no version") << versionText(QString(), u"abc1234"_s) << u"Quillo"_s;
    QTest::addRow("model on a loopback address")
        << privacyNote(true, u"http://127.0.0.2:11434"_s) << nothingUploaded;
    QTest::addRow("model on localhost") << privacyNote(true, u"http://LOCALHOST:11434"_s) << nothingUploaded;
    QTest::addRow("model on IPv6 loopback") << privacyNote(true, u"http://[::1]:11434"_s) << nothingUploaded;
    QTest::addRow("model on another computer") << privacyNote(true, u"https://gpu.example.net/ollama"_s)
                                               << u"Screenshots are sent to gpu.example.net to be named."_s;
    QTest::addRow("remote model switched off")
        << privacyNote(false, u"https://gpu.example.net"_s) << nothingUploaded;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTest::addRow("empty index") << searchIndexText({0, 45056}) << u"No screenshots are indexed."_s;
    QTest::addRow("one screenshot") << searchIndexText({1, 45056}) << u"1 screenshot, 44.0 kB"_s;
    QTest::addRow("many, in grouped digits")
        << searchIndexText({1204, 3250585}) << u"1,204 screenshots, 3.1 MB"_s;
}

void SettingsPresentationTest::texts()
{
    QFETCH(QString, actual);
    QTEST(actual, "expected");
}

QTEST_APPLESS_MAIN(SettingsPresentationTest)
#include "SettingsPresentationTest.moc"
