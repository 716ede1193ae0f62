// SPDX-License-Identifier: GPL-3.0-or-later
// Not a test: `make screenshots` runs it in a throwaway home to draw the search, light and dark. The
// real `quillo rename` names copies of the test screenshots in ~/Pictures/Screenshots, which indexes
// them; then the tray popup with words typed into its field goes to tray-search-<theme>.png, and what
// the real `quillo search` prints on a terminal (under script(1), so it sees one) to
// terminal-search-<theme>.png.
#include "PictureThemes.h"
#include "index/ScreenshotIndex.h"
#include "renaming/RenameHistoryStore.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"
#include "ui/RecentRenameRow.h"
#include "ui/SearchIndexReader.h"
#include "ui/TrayController.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

const QString words = QStringLiteral("total");

QString screenshotFolder()
{
    return QDir::home().filePath(QStringLiteral("Pictures/Screenshots"));
}

// Copies of the test screenshots under the names a screenshot tool gives, named by the real program.
bool nameScreenshots()
{
    // `quillo rename` renames every screenshot in the folder: never one that holds someone's own.
    if (QFileInfo::exists(screenshotFolder())) {
        std::fprintf(stderr, "%s exists already: run this in a throwaway home (make screenshots)\n",
                     qPrintable(screenshotFolder()));
        return false;
    }
    const QDir corpus(QStringLiteral(QUILLO_SCREENSHOTS));
    QDir().mkpath(screenshotFolder());
    int second = 0;
    for (const QString &file : corpus.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
        ++second;
        const QString name = QStringLiteral("Screenshot from 2026-12-0%1 10-00-%2.png")
                                 .arg(second % 5 + 1)
                                 .arg(second, 2, 10, QLatin1Char('0'));
        if (!QFile::copy(corpus.filePath(file), QDir(screenshotFolder()).filePath(name)))
            return false;
    }
    QProcess rename;
    rename.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    rename.start(QStringLiteral(QUILLO_BINARY), {QStringLiteral("rename"), screenshotFolder()});
    return rename.waitForFinished(600000) && rename.exitCode() == 0;
}

// The lines `quillo search` printed, each as runs of text, the odd ones bold.
QList<QStringList> searchOutput()
{
    QProcess terminal;
    terminal.start(QStringLiteral("script"),
                   {QStringLiteral("-qec"),
                    QStringLiteral("'%1' search %2").arg(QStringLiteral(QUILLO_BINARY), words),
                    QStringLiteral("/dev/null")});
    if (!terminal.waitForFinished(60000) || terminal.exitCode() != 0)
        return {};
    QList<QStringList> lines;
    const QString output = QString::fromUtf8(terminal.readAllStandardOutput()).remove(u'\r');
    for (const QString &line : output.split(u'\n', Qt::SkipEmptyParts)) {
        QStringList runs{QString()};
        for (const QString &piece : line.split(QStringLiteral("\x1b["))) {
            if (piece.startsWith(QLatin1String("1m")))
                runs.append(piece.mid(2));
            else if (piece.startsWith(QLatin1String("0m")))
                runs.append(piece.mid(2));
            else
                runs.last() += piece;
        }
        lines.append(runs);
    }
    return lines;
}

QImage terminalPicture(const QList<QStringList> &lines, const QPalette &palette)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(11);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int margin = 16;
    const QString prompt = QStringLiteral("$ quillo search ") + words;
    int width = metrics.horizontalAdvance(prompt);
    for (const QStringList &runs : lines)
        width = std::max(width, metrics.horizontalAdvance(runs.join(QString())));
    const int lineHeight = metrics.lineSpacing();
    QImage image(width + 2 * margin, int(lines.size() + 1) * lineHeight + 2 * margin,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(palette.color(QPalette::Base));
    QPainter painter(&image);
    painter.setPen(palette.color(QPalette::Text));
    int y = margin + metrics.ascent();
    painter.setFont(bold);
    painter.drawText(margin, y, prompt);
    for (const QStringList &runs : lines) {
        y += lineHeight;
        int x = margin;
        for (qsizetype i = 0; i < runs.size(); ++i) {
            painter.setFont(i % 2 ? bold : font);
            painter.drawText(x, y, runs[i]);
            x += QFontMetrics(painter.font()).horizontalAdvance(runs[i]);
        }
    }
    return image;
}

bool drawTray(const QString &path)
{
    const QTemporaryDir store;
    PreferencesStore preferences(store.filePath(QStringLiteral("quillo.conf")));
    SettingsStore settings(preferences);
    settings.setWatchedFolder(screenshotFolder());
    RenameHistoryStore history(preferences);
    QDateTime now = QDateTime::currentDateTimeUtc();
    TrayController tray(settings, history,
                        {[] {
                             return false;
                         },
                         [] {
                             return false;
                         },
                         [&now] {
                             return now;
                         }});
    SearchIndexReader reader(ScreenshotIndex::defaultPath());
    tray.setSearchIndex(&reader);
    QMenu *popup = tray.popup();
    popup->popup(QPoint(0, 0));
    auto *field = popup->findChild<QLineEdit *>(QStringLiteral("searchLineEdit"));
    if (!QTest::qWaitFor([popup] {
            return popup->isVisible();
        }) ||
        !field)
        return false;
    field->setText(words);
    now = now.addSecs(1); // typing has paused
    if (!QTest::qWaitFor([popup] {
            return !popup->findChildren<RecentRenameRow *>().isEmpty();
        }))
        return false;
    QTest::qWait(1500); // the thumbnails
    const QPixmap picture = popup->grab();
    popup->close();
    return picture.save(path);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    PictureThemes::installLanguage(app);
    const std::optional<QDir> folder = PictureThemes::outputFolder(argc, argv);
    if (!folder)
        return 2;
    if (!nameScreenshots()) {
        std::fprintf(stderr, "could not name the test screenshots with %s\n", QUILLO_BINARY);
        return 1;
    }
    const QList<QStringList> output = searchOutput();
    if (output.isEmpty()) {
        std::fprintf(stderr, "quillo search %s printed nothing\n", qPrintable(words));
        return 1;
    }
    for (const PictureThemes::Theme &theme : PictureThemes::themes()) {
        QApplication::setPalette(theme.palette);
        const QString tray = PictureThemes::picturePath(*folder, QStringLiteral("tray-search"), theme);
        const QString terminal =
            PictureThemes::picturePath(*folder, QStringLiteral("terminal-search"), theme);
        if (!drawTray(tray) || !terminalPicture(output, theme.palette).save(terminal)) {
            std::fprintf(stderr, "could not draw %s or %s\n", qPrintable(tray), qPrintable(terminal));
            return 1;
        }
    }
    return 0;
}
