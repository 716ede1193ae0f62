// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/WindowTitle.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Titles as real Linux applications set them (user ada on host vm), with their desktop-file ids.
class WindowTitleTest : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
};

void WindowTitleTest::words_data()
{
    QTest::addColumn<QString>("appId");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected"); // joined by spaces
    const auto row = [](const char *appId, const char *title, const char *expected) {
        QTest::addRow("%s: %s", appId, title)
            << QString::fromUtf8(appId) << QString::fromUtf8(title) << QString::fromUtf8(expected);
    };
    row("debian-xterm", "ada@vm: ~", "");
    row("debian-xterm", "ada@vm: ~/src/parser", "parser");
    row("debian-xterm", "ada@devbox: ~/src/parser", "parser");
    row("debian-xterm", "ada@vm: /tmp", "");
    row("org.gnome.Terminal", "ada@vm:~/src/parser", "parser");
    row("debian-xterm", "README.md (~/src/parser) - VIM", "parser readme");
    row("debian-xterm", "main.c + (~/src/parser) - VIM", "parser main");
    row("debian-xterm", "[No Name] - VIM", "");
    row("debian-xterm", "mc [ada@vm]:~/src/parser", "parser");
    row("debian-xterm", "~/s/parser", "parser");
    row("debian-xterm", "sleep 3 ~/s/parser", "parser");
    row("debian-xterm", "~/D/reports", "reports");
    row("xfce4-terminal", "Terminal - ada@vm: ~/src/parser", "parser");
    row("xfce4-terminal", "Terminal - main.c (~/src/parser) - VIM", "parser main");
    row("xfce4-terminal", "Terminal - ", "");
    row("com.gexperts.Tilix", "Tilix: ada@vm: ~/src/parser", "parser");
    row("kitty", "sleep 2", "");
    row("kitty", "less report.pdf", "report");
    row("kitty", "gitui", "gitui");
    row("kitty", "lnav /tmp/demo", "lnav demo");
    row("org.kde.konsole", "parser : bash — Konsole", "parser");
    row("org.kde.konsole", "~ : bash — Konsole", "");
    row("emacs", "main.c - GNU Emacs at vm", "main");
    row("emacs", "*GNU Emacs* - GNU Emacs at vm", "");
    row("gvim", "main.c + (~/src/parser) - GVIM", "parser main");
    row("org.xfce.mousepad", "*~/notes.txt - Mousepad", "notes");
    row("org.xfce.mousepad", "~/Documents/meeting notes.txt - Mousepad", "meeting notes");
    row("org.xfce.mousepad", "/tmp/newcomer-content/meeting-notes.txt - Mousepad", "meeting notes");
    row("org.xfce.mousepad", "Untitled 1 - Mousepad", "");
    row("geany", "*main.c - /home/ada/src/parser - Geany", "parser main");
    row("org.gnome.gedit", "*README.md (~/src/parser) - gedit", "parser readme");
    row("featherpad", "*/home/ada/src/parser/README.md", "parser readme");
    row("org.kde.kate", "main.c * — Kate", "main");
    row("org.kde.okular", "quarterly-report.pdf  — Okular", "quarterly report");
    row("org.kde.kate", "parser: README.md  — Kate", "parser readme");
    row("code", "● main.c - parser - Visual Studio Code", "parser main");
    row("code-oss", "main.c - parser - Code - OSS", "parser main");
    row("org.gnome.Evince", "invoice_2024.pdf — Invoice March 2024", "invoice 2024");
    row("org.pwmt.zathura", "/home/ada/Documents/reports/quarterly-report.pdf", "quarterly report");
    row("mupdf", "invoice_2024.pdf - 1/1 (100 dpi)", "invoice 2024");
    row("org.kde.gwenview", "holiday-beach.png - 64x48 - 100%  — Gwenview", "holiday beach");
    row("gimp", "[holiday-beach] (imported)-1.0 (RGB color 8-bit gamma integer, 1 layer) 64x48 – GIMP",
        "holiday beach");
    row("libreoffice-writer", "Meeting Notes 2024-03.odt - LibreOffice Writer", "meeting notes 2024 03");
    row("firefox-esr", "Quarterly Budget Review — Mozilla Firefox Private Browsing",
        "quarterly budget review");
    row("firefox-esr", "holiday-beach.png (PNG Image, 64 × 48 pixels) — Mozilla Firefox", "holiday beach");
    row("firefox-esr", "Index of file:///home/ada/src/parser/ — Mozilla Firefox", "parser");
    row("chromium", "New Tab - Chromium", "");
    row("thunar", "ada - Thunar", "");
    row("org.gnome.Nautilus", "Home", "");
    row("org.kde.dolphin", "parser — Dolphin", "parser");
    row("thunderbird", "Inbox - ada@example.com - Mozilla Thunderbird", "");
    row("thunderbird", "Write: Re: Q3 planning - Thunderbird", "q3 planning");
    row("io.github.Hexchat", "ada @ Libera.Chat / #parser-dev - HexChat", "parser dev");
    row("gnome-system-monitor", "System Monitor", "");
}

void WindowTitleTest::words()
{
    QFETCH(QString, appId);
    QFETCH(QString, title);
    QFETCH(QString, expected);
    const CaptureContext context{std::nullopt, appId, title};
    QCOMPARE(WindowTitle::words(context, {u"ada"_s, u"vm"_s}).join(u' '), expected);
}

QTEST_APPLESS_MAIN(WindowTitleTest)
#include "WindowTitleTest.moc"
