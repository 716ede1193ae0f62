// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestFiles.h"
#include "ui/DraggableThumbnail.h"
#include "ui/RecentRenameRow.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The panel's thumbnail and the tray popup's rows: presses, moves and releases with sub-pixel
// positions, as a touchpad delivers them.
class FileDragButtonTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void pressBecomesClickOrDrag_data();
    void pressBecomesClickOrDrag();
};

void FileDragButtonTest::pressBecomesClickOrDrag_data()
{
    QTest::addColumn<bool>("isRow");
    QTest::addColumn<QPointF>("moveBy");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("drags");
    QTest::addColumn<bool>("clicks");
    for (const bool isRow : {false, true}) {
        const char *widget = isRow ? "row" : "thumbnail";
        QTest::addRow("%s: still press", widget) << isRow << QPointF(0, 0) << true << false << true;
        QTest::addRow("%s: 2.9 px is a click", widget) << isRow << QPointF(2.9, 0) << true << false << true;
        QTest::addRow("%s: 3 px is a drag", widget) << isRow << QPointF(3, 0) << true << true << false;
        QTest::addRow("%s: 3 px on a missing file is neither", widget)
            << isRow << QPointF(0, 3) << false << false << false;
    }
}

void FileDragButtonTest::pressBecomesClickOrDrag()
{
    QFETCH(bool, isRow);
    QFETCH(QPointF, moveBy);
    QFETCH(bool, fileExists);
    QFETCH(bool, drags);
    QFETCH(bool, clicks);
    QTemporaryDir temp;
    const QString path = temp.filePath(u"stripe invoice ü.png"_s);
    if (fileExists)
        QVERIFY(TestFiles::write(path));
    const std::unique_ptr<FileDragButton> owner(
        isRow ? static_cast<FileDragButton *>(new RecentRenameRow(path, {}, {})) : new DraggableThumbnail);
    FileDragButton &widget = *owner;
    widget.resize(76, 52); // the row keeps its fixed size
    widget.setFilePath(path);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QSignalSpy clicked(&widget, &QAbstractButton::clicked);
    QSignalSpy started(&widget, &FileDragButton::dragStarted);

    const QPointF start(30.5, 20.5);
    const auto send = [&](QEvent::Type type, const QPointF &at, Qt::MouseButton button,
                          Qt::MouseButtons held) {
        QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + moveBy, Qt::NoButton, Qt::LeftButton);
    // Qt deletes a finished drag later, so it can still be looked at here.
    const QDrag *drag = widget.findChild<QDrag *>();
    send(QEvent::MouseMove, start, Qt::NoButton, Qt::LeftButton); // back where it began
    send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);

    QCOMPARE(started.count(), drags ? 1 : 0);
    QCOMPARE(drag != nullptr, drags);
    QCOMPARE(clicked.count(), clicks ? 1 : 0);
    if (drags) {
        QCOMPARE(drag->mimeData()->urls(), QList<QUrl>{QUrl::fromLocalFile(path)});
        QVERIFY(drag->mimeData()->hasFormat(u"text/uri-list"_s));
        QCOMPARE(drag->supportedActions(), Qt::CopyAction);
        // The file's icon: the thumbnail's height, or 32 px under the pointer.
        QCOMPARE(drag->pixmap().deviceIndependentSize().toSize(), isRow ? QSize(32, 32) : QSize(52, 52));
    }
}

QTEST_MAIN(FileDragButtonTest)
#include "FileDragButtonTest.moc"
