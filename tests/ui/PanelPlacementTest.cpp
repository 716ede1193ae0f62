// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PanelPlacement.h"

#include <QTest>

// A 1920 × 1080 primary screen with a 32 pixel top bar, and a smaller screen to its right.
class PanelPlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void panelSitsAtTheTopCentre_data();
    void panelSitsAtTheTopCentre();
};

void PanelPlacementTest::panelSitsAtTheTopCentre_data()
{
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<int>("screenCount");
    QTest::addColumn<QPoint>("origin");
    QTest::addRow("pointer on the primary screen") << QPoint(100, 500) << 2 << QPoint(670, 34);
    QTest::addRow("pointer on the second screen, odd width") << QPoint(2500, 100) << 2 << QPoint(2343, 2);
    QTest::addRow("pointer off every screen") << QPoint(-10, -10) << 2 << QPoint(670, 34);
    QTest::addRow("no screen at all") << QPoint(100, 500) << 0 << QPoint();
}

void PanelPlacementTest::panelSitsAtTheTopCentre()
{
    QFETCH(QPoint, pointer);
    QFETCH(int, screenCount);
    QFETCH(QPoint, origin);
    const QList<PanelPlacement::Screen> screens{{QRect(0, 0, 1920, 1080), QRect(0, 32, 1920, 1048)},
                                                {QRect(1920, 0, 1425, 900), QRect(1920, 0, 1425, 900)}};
    QCOMPARE(PanelPlacement::topCentre(pointer, screens.first(screenCount), QSize(580, 108)), origin);
}

QTEST_MAIN(PanelPlacementTest)
#include "PanelPlacementTest.moc"
