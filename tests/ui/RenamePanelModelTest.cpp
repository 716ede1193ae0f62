// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RenamePanelModel.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using State = RenamePanelItem::State;

class RenamePanelModelTest : public QObject
{
    Q_OBJECT

private slots:
    void locationDescribesTheFolder_data();
    void locationDescribesTheFolder();
    void userChangesUpdateAndUndoRestores();
};

void RenamePanelModelTest::locationDescribesTheFolder_data()
{
    QTest::addColumn<QString>("file"); // relative to a temporary folder holding "Screen shots"
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("name");
    QTest::addRow("watched folder") << u"Screen shots/a.png"_s << QString() << u"Screen shots"_s;
    QTest::addRow("watched folder written with ..")
        << u"Screen shots/Web/../a.png"_s << QString() << u"Screen shots"_s;
    QTest::addRow("watched folder below a link")
        << u"link/Screen shots/a.png"_s << QString() << u"Screen shots"_s;
    QTest::addRow("direct subfolder")
        << u"Screen shots/Receipts & Invoices/a.png"_s << u"Screen shots"_s << u"Receipts & Invoices"_s;
    QTest::addRow("deeper subfolder") << u"Screen shots/Web/2026/a.png"_s << QString() << u"2026"_s;
    QTest::addRow("elsewhere") << u"Documents/a.png"_s << QString() << u"Documents"_s;
}

void RenamePanelModelTest::locationDescribesTheFolder()
{
    QFETCH(QString, file);
    QFETCH(QString, parent);
    QFETCH(QString, name);
    QTemporaryDir temp;
    QVERIFY(QDir(temp.path()).mkpath(u"Screen shots/Web"_s));
    QVERIFY(QFile::link(temp.path(), temp.filePath(u"link"_s)));
    RenamePanelModel model;
    QCOMPARE(model.rootTitle(), u"Screenshots"_s);
    model.setWatchedFolder(temp.filePath(u"Screen shots"_s));
    const FileLocation expected{parent.isEmpty() ? std::nullopt : std::optional(parent), name};
    QCOMPARE(model.location(temp.filePath(file)), expected);
}

void RenamePanelModelTest::userChangesUpdateAndUndoRestores()
{
    RenamePanelModel model;
    RenameRecord record{
        QUuid::createUuid(), u"/shots"_s, u"Screenshot 1.png"_s, u"/shots/invoice.png"_s, {}, {}, {}};
    model.setItems({{record.id, record, record.renamedPath, State::Renamed, {}}});
    QCOMPARE(model.current()->displayExtension(), u".png"_s);

    model.apply(record, 0);
    QCOMPARE(model.current()->state, State::Renamed); // same place: nothing changed for the user
    record.renamedPath = u"/shots/Web/invoice"_s;
    model.apply(record, 0);
    QCOMPARE(model.current()->state, State::Updated);
    QCOMPARE(model.current()->displayExtension(), QString());

    model.restore(0, u"/shots/Screenshot 1.png"_s);
    QCOMPARE(model.current()->state, State::Restored);
    QCOMPARE(model.current()->record, std::nullopt);
    QCOMPARE(model.current()->path, u"/shots/Screenshot 1.png"_s);
    model.setIndex(1);
    QCOMPARE(model.current(), nullptr);
}

QTEST_GUILESS_MAIN(RenamePanelModelTest)
#include "RenamePanelModelTest.moc"
