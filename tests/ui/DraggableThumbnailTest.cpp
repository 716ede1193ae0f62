#include "ui/DraggableThumbnail.h"

#include "support/TestFiles.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Presses, moves and releases with sub-pixel positions, as a touchpad delivers them.
class DraggableThumbnailTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void pressBecomesClickOrDrag_data();
    void pressBecomesClickOrDrag();
};

void DraggableThumbnailTest::pressBecomesClickOrDrag_data()
{
    QTest::addColumn<QPointF>("moveBy");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("drags");
    QTest::addColumn<bool>("clicks");
    QTest::addRow("still press") << QPointF(0, 0) << true << false << true;
    QTest::addRow("2.9 px is a click") << QPointF(2.9, 0) << true << false << true;
    QTest::addRow("3 px is a drag") << QPointF(3, 0) << true << true << false;
    QTest::addRow("3 px on a missing file is neither") << QPointF(0, 3) << false << false << false;
}

void DraggableThumbnailTest::pressBecomesClickOrDrag()
{
    QFETCH(QPointF, moveBy);
    QFETCH(bool, fileExists);
    QFETCH(bool, drags);
    QFETCH(bool, clicks);
    QTemporaryDir temp;
    const QString path = temp.filePath(u"stripe invoice ü.png"_s);
    if (fileExists)
        QVERIFY(TestFiles::write(path));
    DraggableThumbnail thumbnail;
    thumbnail.resize(76, 52);
    thumbnail.setFilePath(path);
    thumbnail.show();
    QVERIFY(QTest::qWaitForWindowExposed(&thumbnail));
    QSignalSpy clicked(&thumbnail, &QAbstractButton::clicked);
    QSignalSpy started(&thumbnail, &DraggableThumbnail::dragStarted);

    const QPointF start(30.5, 20.5);
    const auto send = [&](QEvent::Type type, const QPointF &at, Qt::MouseButton button,
                          Qt::MouseButtons held) {
        QMouseEvent event(type, at, thumbnail.mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&thumbnail, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, start + moveBy, Qt::NoButton, Qt::LeftButton);
    // Qt deletes a finished drag later, so it can still be looked at here.
    const QDrag *drag = thumbnail.findChild<QDrag *>();
    send(QEvent::MouseMove, start, Qt::NoButton, Qt::LeftButton); // back where it began
    send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);

    QCOMPARE(started.count(), drags ? 1 : 0);
    QCOMPARE(drag != nullptr, drags);
    QCOMPARE(clicked.count(), clicks ? 1 : 0);
    if (drags) {
        QCOMPARE(drag->mimeData()->urls(), QList<QUrl>{QUrl::fromLocalFile(path)});
        QVERIFY(drag->mimeData()->hasFormat(u"text/uri-list"_s));
        QCOMPARE(drag->supportedActions(), Qt::CopyAction);
        QCOMPARE(drag->pixmap().deviceIndependentSize().toSize(), QSize(52, 52)); // the file's icon
    }
}

QTEST_MAIN(DraggableThumbnailTest)
#include "DraggableThumbnailTest.moc"
