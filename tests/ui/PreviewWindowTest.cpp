// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PreviewWindow.h"

#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class PreviewWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void fitsTheScreenAndClosesWithAKey_data();
    void fitsTheScreenAndClosesWithAKey();
};

void PreviewWindowTest::fitsTheScreenAndClosesWithAKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addRow("Space") << int(Qt::Key_Space);
    QTest::addRow("Escape") << int(Qt::Key_Escape);
}

void PreviewWindowTest::fitsTheScreenAndClosesWithAKey()
{
    QFETCH(int, key);
    QTemporaryDir temp;
    const QString path = temp.filePath(u"wide shot.png"_s);
    QImage wide(3000, 1000, QImage::Format_RGB32);
    wide.fill(Qt::darkGreen);
    QVERIFY(wide.save(path));
    PreviewWindow preview;
    QSignalSpy open(&preview, &PreviewWindow::openChanged);
    preview.open(path);
    QTRY_COMPARE(open.count(), 1);
    QVERIFY(open.first().first().toBool());
    QCOMPARE(preview.windowTitle(), u"wide shot.png"_s);
    const QRect available = preview.screen()->availableGeometry();
    QVERIFY(available.contains(preview.frameGeometry()));
    QCOMPARE(preview.width(), available.width()); // as large as fits, in the picture's shape
    QCOMPARE(preview.height(), available.width() / 3);

    QTest::keyClick(&preview, Qt::Key(key));
    QVERIFY(!preview.isVisible());
    QCOMPARE(open.last().first().toBool(), false);
}

QTEST_MAIN(PreviewWindowTest)
#include "PreviewWindowTest.moc"
