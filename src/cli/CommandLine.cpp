// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>

namespace {

using Command = CommandRequest::Command;

// How each command is called and what follows its name.
struct Spelling
{
    Command command;
    QLatin1StringView name;
    QLatin1StringView arguments;
};
constexpr Spelling spellings[] = {
    {Command::Rename, QLatin1StringView("rename"),
     QLatin1StringView("[--dry-run] [--json] [--recursive] [--jobs N] PATH...")}, // not for people: syntax
    {Command::History, QLatin1StringView("history"), QLatin1StringView("[--json]")},
    {Command::Undo, QLatin1StringView("undo"), QLatin1StringView("[ID|--last]")},
    {Command::Index, QLatin1StringView("index"),
     QLatin1StringView("[--json] [--recursive] [--jobs N] PATH...")}, // not for people: syntax
    {Command::Search, QLatin1StringView("search"),
     QLatin1StringView("[--json] [--limit N] WORDS...")}, // not for people: syntax
};

const Spelling &spelling(Command command)
{
    return *std::find_if(std::begin(spellings), std::end(spellings), [command](const Spelling &candidate) {
        return candidate.command == command;
    });
}

QString commandName(Command command)
{
    return spelling(command).name;
}

// Sets the flag `option` names for this command; false when it has no such option.
bool setFlag(CommandRequest &request, const QByteArray &option)
{
    const bool renaming = request.command == Command::Rename;
    const bool listing = renaming || request.command == Command::Index;
    if (option == "--help" || option == "-h")
        request.help = true;
    else if (option == "--json" && request.command != Command::Undo)
        request.json = true;
    else if (option == "--dry-run" && renaming)
        request.dryRun = true;
    else if (option == "--recursive" && listing)
        request.recursive = true;
    else
        return false;
    return true;
}

std::optional<int> positiveNumber(const QByteArray &text)
{
    bool ok = false;
    const int jobs = text.toInt(&ok);
    return ok && jobs > 0 ? std::optional(jobs) : std::nullopt;
}

// The value of `option` at arguments[i], given as "--option N" (i moves past N) or "--option=N";
// nothing when arguments[i] is another argument.
std::optional<QByteArray> optionValue(const QList<QByteArray> &arguments, qsizetype &i,
                                      const QByteArray &option)
{
    const QByteArray &argument = arguments[i];
    if (argument == option)
        return arguments.value(++i);
    if (argument.startsWith(option + '='))
        return argument.mid(option.size() + 1);
    return std::nullopt;
}

} // namespace

namespace CommandLine {

std::optional<Command> command(const QByteArray &firstArgument)
{
    for (const Spelling &candidate : spellings) {
        if (firstArgument == candidate.name)
            return candidate.command;
    }
    return std::nullopt;
}

Parsed parse(Command command, const QList<QByteArray> &arguments)
{
    CommandRequest request;
    request.command = command;
    const QString name = commandName(command);
    QList<QByteArray> operands;
    bool optionsEnded = false;
    const bool readsFiles = command == Command::Rename || command == Command::Index;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments[i];
        if (optionsEnded || !argument.startsWith('-') || argument == "-") {
            operands.append(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (const auto jobs = readsFiles ? optionValue(arguments, i, "--jobs") : std::nullopt) {
            request.jobs = positiveNumber(*jobs).value_or(0);
            if (request.jobs == 0)
                return {std::nullopt,
                        QCoreApplication::translate("CommandLine", "--jobs needs a number of at least 1")};
        } else if (const auto limit =
                       command == Command::Search ? optionValue(arguments, i, "--limit") : std::nullopt) {
            request.limit = positiveNumber(*limit).value_or(0);
            if (request.limit == 0)
                return {std::nullopt,
                        QCoreApplication::translate("CommandLine", "--limit needs a number of at least 1")};
        } else if (command == Command::Undo && argument == "--last") {
            operands.append(QByteArray());
        } else if (!setFlag(request, argument)) {
            return {std::nullopt, QCoreApplication::translate("CommandLine", "%1 has no option %2")
                                      .arg(name, QString::fromLocal8Bit(argument))};
        }
    }
    if (request.help)
        return {request, {}};
    switch (command) {
    case Command::Rename:
    case Command::Index:
        if (operands.isEmpty())
            return {
                std::nullopt,
                QCoreApplication::translate("CommandLine", "%1 needs at least one file or folder").arg(name)};
        request.paths = operands;
        break;
    case Command::Search:
        if (operands.isEmpty())
            return {std::nullopt,
                    QCoreApplication::translate("CommandLine", "search needs at least one word")};
        request.paths = operands;
        break;
    case Command::History:
        if (!operands.isEmpty())
            return {std::nullopt, QCoreApplication::translate("CommandLine", "history takes no files")};
        break;
    case Command::Undo:
        if (operands.size() > 1)
            return {std::nullopt, QCoreApplication::translate("CommandLine", "undo takes one id, or --last")};
        request.undoId = QString::fromLocal8Bit(operands.value(0));
        break;
    }
    return {request, {}};
}

QString synopsis(Command command)
{
    return QStringLiteral("quillo ") + spelling(command).name + u' ' + // not for people: syntax
           spelling(command).arguments;
}

QString usage(Command command)
{
    QString details;
    switch (command) {
    case Command::Rename:
        details = QCoreApplication::translate(
            "CommandLine",
            "Names every screenshot among the files and folders given, as Quillo names new ones.\n"
            "  --dry-run    print what would be renamed; change nothing\n"
            "  --json       print one JSON object per file\n"
            "  --recursive  also look in subfolders\n"
            "  --jobs N     read N files at once (default: one per core)\n");
        break;
    case Command::History:
        details = QCoreApplication::translate(
            "CommandLine", "Lists the renames Quillo remembers, newest first: id, new name, old name,\n"
                           "folder, when, source.\n");
        break;
    case Command::Undo:
        details = QCoreApplication::translate(
            "CommandLine", "Puts a renamed file back under its old name; without an id, the newest.\n");
        break;
    case Command::Index:
        details = QCoreApplication::translate(
            "CommandLine",
            "Reads the screenshots among the files and folders given and keeps their text for search,\n"
            "without renaming them.\n"
            "  --json       print one JSON object per file\n"
            "  --recursive  also look in subfolders\n"
            "  --jobs N     read N files at once (default: one per core)\n");
        break;
    case Command::Search:
        details = QCoreApplication::translate(
            "CommandLine",
            "Lists the screenshots that show all the words, best match first: path, date, category and\n"
            "the line the words are on. Words match by their start, whatever the case or accents.\n"
            "  --json       print one JSON object per screenshot\n"
            "  --limit N    show at most N screenshots (default: 20)\n");
        break;
    }
    return QCoreApplication::translate("CommandLine", "Usage: %1").arg(synopsis(command)) + u'\n' + details;
}

} // namespace CommandLine
