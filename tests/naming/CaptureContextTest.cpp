// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/CaptureContext.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

// A screenshot of the whole desktop taken while Quillo's panel was up shows the panel: its lines are
// left out of naming, and nothing else is.
class CaptureContextTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void panelLinesAreRecognised_data();
    void panelLinesAreRecognised();
};

void CaptureContextTest::panelLinesAreRecognised_data()
{
    const CaptureContext::Panel panel{QRect(520, 0, 560, 88), QSize(1600, 1000)};
    const QSize desktop(1600, 1000);
    // Line boxes in fractions of the image, from its lower-left corner.
    const QRectF panelLine(0.35, 0.95, 0.25, 0.02);   // y 30-50 px from the top, x 560-960
    const QRectF contentLine(0.30, 0.60, 0.30, 0.02); // 380-400 px from the top
    const QRectF straddling(0.30, 0.95, 0.02, 0.02);  // x 480-512: left of the panel
    QTest::addColumn<std::optional<CaptureContext::Panel>>("shown");
    QTest::addColumn<QRectF>("line");
    QTest::addColumn<QSize>("image");
    QTest::addColumn<bool>("isQuillos");
    QTest::addRow("a line on the panel") << std::optional(panel) << panelLine << desktop << true;
    QTest::addRow("the screenshot's own text") << std::optional(panel) << contentLine << desktop << false;
    QTest::addRow("beside the panel") << std::optional(panel) << straddling << desktop << false;
    QTest::addRow("a window, not the desktop")
        << std::optional(panel) << panelLine << QSize(800, 600) << false;
    QTest::addRow("no panel on screen")
        << std::optional<CaptureContext::Panel>() << panelLine << desktop << false;
    QTest::addRow("image not decoded") << std::optional(panel) << panelLine << QSize() << false;
}

void CaptureContextTest::panelLinesAreRecognised()
{
    QFETCH(std::optional<CaptureContext::Panel>, shown);
    QFETCH(QRectF, line);
    QFETCH(QSize, image);
    QFETCH(bool, isQuillos);
    CaptureContext context;
    context.quilloPanel = shown;
    QCOMPARE(context.isShownByQuillo(line, image), isQuillos);
}

QTEST_GUILESS_MAIN(CaptureContextTest)
#include "CaptureContextTest.moc"
