// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/BacklogReport.h"
#include "cli/CommandLine.h"
#include "cli/HistoryCommand.h"
#include "cli/ProgressLine.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;
using Command = CommandRequest::Command;
using Result = BacklogReport::Result;

namespace {

CommandRequest request(Command command, std::function<void(CommandRequest &)> change = {})
{
    CommandRequest made;
    made.command = command;
    if (change)
        change(made);
    return made;
}

RenameRecord record(const char *id)
{
    RenameRecord made;
    made.id = QUuid::fromString(QString::fromLatin1(id));
    made.renamedPath = u"/shots/Web/name.png"_s;
    return made;
}

} // namespace

// The decisions of `quillo rename`, `history` and `undo`, without running them.
class HistoryCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void argumentsAreRead_data();
    void argumentsAreRead();
    void progressFitsTheTerminal_data();
    void progressFitsTheTerminal();
    void reportCountsAndSaysWhy_data();
    void reportCountsAndSaysWhy();
    void undoFindsTheRecordMeant_data();
    void undoFindsTheRecordMeant();
};

void HistoryCommandsTest::argumentsAreRead_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<std::optional<CommandRequest>>("expected"); // nothing: a usage error

    QTest::newRow("rename a folder, trying it out")
        << Command::Rename << QList<QByteArray>{"--dry-run", "--json", "--recursive", "shots"}
        << std::optional(request(Command::Rename, [](CommandRequest &r) {
               r.dryRun = r.json = r.recursive = true;
               r.paths = {"shots"};
           }));
    QTest::newRow("jobs in either form")
        << Command::Rename << QList<QByteArray>{"--jobs", "1", "a.png", "--jobs=3", "b\xff.png"}
        << std::optional(request(Command::Rename, [](CommandRequest &r) {
               r.jobs = 3;
               r.paths = {"a.png", "b\xff.png"};
           }));
    QTest::newRow("a file named like an option after --")
        << Command::Rename << QList<QByteArray>{"--", "--json"}
        << std::optional(request(Command::Rename, [](CommandRequest &r) {
               r.paths = {"--json"};
           }));
    QTest::newRow("rename without files")
        << Command::Rename << QList<QByteArray>{"--json"} << std::optional<CommandRequest>();
    QTest::newRow("no jobs at all") << Command::Rename << QList<QByteArray>{"--jobs", "0", "a"}
                                    << std::optional<CommandRequest>();
    QTest::newRow("help needs no files") << Command::Rename << QList<QByteArray>{"--help"}
                                         << std::optional(request(Command::Rename, [](CommandRequest &r) {
                                                r.help = true;
                                            }));
    QTest::newRow("history as JSON") << Command::History << QList<QByteArray>{"--json"}
                                     << std::optional(request(Command::History, [](CommandRequest &r) {
                                            r.json = true;
                                        }));
    QTest::newRow("history has no dry run")
        << Command::History << QList<QByteArray>{"--dry-run"} << std::optional<CommandRequest>();
    QTest::newRow("history of files")
        << Command::History << QList<QByteArray>{"a.png"} << std::optional<CommandRequest>();
    QTest::newRow("undo the last") << Command::Undo << QList<QByteArray>{"--last"}
                                   << std::optional(request(Command::Undo));
    QTest::newRow("undo by id") << Command::Undo << QList<QByteArray>{"1a2b"}
                                << std::optional(request(Command::Undo, [](CommandRequest &r) {
                                       r.undoId = u"1a2b"_s;
                                   }));
    QTest::newRow("undo an id and the last")
        << Command::Undo << QList<QByteArray>{"--last", "1a2b"} << std::optional<CommandRequest>();
}

void HistoryCommandsTest::argumentsAreRead()
{
    QFETCH(Command, command);
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(std::optional<CommandRequest>, expected);
    const CommandLine::Parsed parsed = CommandLine::parse(command, arguments);
    QCOMPARE(parsed.request, expected);
    QCOMPARE(parsed.error.isEmpty(), expected.has_value());
}

void HistoryCommandsTest::progressFitsTheTerminal_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no guess before the first file") << 0 << 61 << 900LL << 80 << u"0/61  Screenshot 1.png"_s;
    QTest::newRow("time left from the pace so far")
        << 1 << 61 << 1500LL << 80 << u"1/61  about 1 min 30 s left  Screenshot 1.png"_s;
    QTest::newRow("hours") << 1 << 1001 << 7500LL << 80
                           << u"1/1001  about 2 h 5 min left  Screenshot 1.png"_s;
    QTest::newRow("long name cut in the middle")
        << 10 << 20 << 10000LL << 30 << u"10/20  about 10 s left  Sc…png"_s;
    QTest::newRow("terminal narrower than the count") << 10 << 20 << 10000LL << 4 << u"10/2"_s;
}

void HistoryCommandsTest::progressFitsTheTerminal()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(qint64, elapsedMs);
    QFETCH(int, columns);
    QFETCH(QString, expected);
    QCOMPARE(ProgressLine::text(done, total, u"Screenshot 1.png"_s, elapsedMs, columns), expected);
}

void HistoryCommandsTest::reportCountsAndSaysWhy_data()
{
    QTest::addColumn<QList<BacklogReport::Entry>>("entries");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<QStringList>("lines"); // "!" marks a line for standard error
    QTest::addColumn<QString>("summary");
    QTest::addColumn<int>("status");

    const QString shot = u"shots/Screenshot 1.png"_s;
    const QString renamed = QDir::current().filePath(u"shots/Web/page-title.png"_s);
    QTest::newRow("renamed, already named, not a screenshot")
        << QList<BacklogReport::Entry>{{Result::Renamed, shot, renamed, {}, {}},
                                       {Result::AlreadyNamed, u"shots/a.png"_s, {}, {}, {}},
                                       {Result::NotScreenshot, u"shots/notes.txt"_s, {}, {}, {}}}
        << false
        << QStringList{u"shots/Screenshot 1.png → Web/page-title.png"_s,
                       u"skipped shots/a.png: already named by Quillo"_s}
        << u"1 renamed, 1 already named, 1 not screenshots"_s << 0;
    QTest::newRow("a failure is said on standard error and fails the run")
        << QList<BacklogReport::Entry>{{Result::WouldRename, shot, renamed, {}, {}},
                                       {Result::Failed, u"bad\n.png"_s, {}, {}, u"Not an image"_s}}
        << false
        << QStringList{u"would rename shots/Screenshot 1.png → Web/page-title.png"_s,
                       u"!quillo: bad\\n.png: Not an image"_s}
        << u"1 would be renamed, 1 failed"_s << 1;
    QTest::newRow("stopped") << QList<BacklogReport::Entry>{} << true << QStringList{}
                             << u"2 left as they were (stopped)"_s << 130;
}

void HistoryCommandsTest::reportCountsAndSaysWhy()
{
    QFETCH(QList<BacklogReport::Entry>, entries);
    QFETCH(bool, stopped);
    QFETCH(QStringList, lines);
    BacklogReport plain(false);
    BacklogReport json(true);
    QStringList printed;
    for (const BacklogReport::Entry &entry : entries) {
        if (const auto line = plain.add(entry))
            printed.append((line->isError ? u"!"_s : QString()) + QString::fromUtf8(line->text));
        if (const auto line = json.add(entry)) {
            const QJsonObject object = QJsonDocument::fromJson(line->text).object();
            QCOMPARE(object.value(u"file"_s).toString(), entry.file);
            QCOMPARE(object.value(u"renamedPath"_s).toString(), entry.renamedPath);
        }
    }
    QCOMPARE(printed, lines);
    QTEST(plain.summary(stopped ? 2 : 0), "summary");
    QTEST(plain.exitStatus(stopped), "status");
}

void HistoryCommandsTest::undoFindsTheRecordMeant_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("found"); // the record's id, or the start of the error

    QTest::newRow("newest without an id") << QString() << u"{1a2b0000-0000-4000-8000-000000000001}"_s;
    QTest::newRow("start of an id, any case") << u"1a2b"_s << u"{1a2b0000-0000-4000-8000-000000000001}"_s;
    QTest::newRow("start shared by two") << u"1a2"_s << u"1a2 starts more than one id"_s;
    QTest::newRow("not in the history")
        << u"ffff"_s << u"No rename ffff in the history, which keeps the 10 newest"_s;
}

void HistoryCommandsTest::undoFindsTheRecordMeant()
{
    QFETCH(QString, id);
    QFETCH(QString, found);
    const QList<RenameRecord> records{record("{1a2b0000-0000-4000-8000-000000000001}"),
                                      record("{1a2c0000-0000-4000-8000-000000000002}")};
    const HistoryCommand::Found result = HistoryCommand::find(records, id);
    QCOMPARE(result.record ? result.record->id.toString() : result.error.left(found.size()), found);
    QCOMPARE(HistoryCommand::find({}, id).error, u"No screenshots renamed yet"_s);
}

QTEST_GUILESS_MAIN(HistoryCommandsTest)
#include "HistoryCommandsTest.moc"
