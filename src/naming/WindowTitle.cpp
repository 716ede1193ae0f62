// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/WindowTitle.h"

#include "core/TextScanning.h"
#include "naming/SlugGenerator.h"
#include "naming/WordEvidence.h"

#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <array>
#include <pwd.h>
#include <unistd.h>

namespace {

using TextScanning::pattern;

constexpr qsizetype maxHostNameLength = 256;

// What one segment of a title names.
struct Reading
{
    enum class Kind
    {
        Nothing,
        Page,
        File,
        Folder
    };
    Kind kind = Kind::Nothing;
    QString text;       // the page title, the file's stem or the folder's name
    QString folderHint; // for a file: the last meaningful folder above it
    QString program;    // for a terminal's command line: the program, when it names the screen
};

// Separators between a title's segments; only with spaces around them, so "parser-dev" stays whole.
const std::array<QString, 6> &separators()
{
    static const std::array<QString, 6> list{QStringLiteral(" - "), QStringLiteral(" — "),
                                             QStringLiteral(" – "), QStringLiteral(" | "),
                                             QStringLiteral(" · "), QStringLiteral(" :: ")};
    return list;
}

// Application names as they end titles, which is not always the desktop entry's Name= ("Firefox ESR"
// writes "Mozilla Firefox"). Whole strings: "Code - OSS" holds a separator.
const QStringList &applicationSuffixes()
{
    static const QStringList names{
        "Mozilla Firefox Private Browsing",
        "Mozilla Firefox (Private Browsing)",
        "Mozilla Firefox",
        "Firefox",
        "Chromium",
        "Google Chrome",
        "Brave",
        "Mozilla Thunderbird",
        "Thunderbird",
        "Visual Studio Code",
        "Code - OSS",
        "VSCodium",
        "Geany",
        "gedit",
        "Text Editor",
        "Mousepad",
        "Kate",
        "KWrite",
        "Konsole",
        "Dolphin",
        "Okular",
        "Gwenview",
        "Thunar",
        "Image Viewer",
        "Inkscape",
        "GIMP",
        "LibreOffice Writer",
        "LibreOffice Calc",
        "LibreOffice Impress",
        "LibreOffice Draw",
        "LibreOffice",
        "HexChat",
        "Document Viewer",
    };
    return names;
}

// Windows that show no document, whatever the application: dialogs, start pages, the app alone.
const QSet<QString> &fixedWindowNames()
{
    static const QSet<QString> names =
        TextScanning::wordSet({"terminal", "recent documents", "document viewer", "password required", "home",
                               "inbox", "new tab", "buddy list", "accounts", "network list", "system monitor",
                               "task manager", "trash", "recent", "computer", "other locations"});
    return names;
}

// Folders every path passes through: home, source trees, system and build folders, XDG folders.
const QSet<QString> &genericFolders()
{
    static const QSet<QString> names = TextScanning::wordSet(
        {"~",         "home",      "root",     "src",    "source", "sources",      "code",     "dev",
         "devel",     "projects",  "project",  "repos",  "repo",   "git",          "github",   "gitlab",
         "work",      "workspace", "ws",       "tmp",    "temp",   "var",          "usr",      "opt",
         "etc",       "share",     "lib",      "bin",    "local",  "mnt",          "media",    "run",
         "build",     "dist",      "out",      "target", "obj",    "node_modules", ".git",     "documents",
         "downloads", "desktop",   "pictures", "music",  "videos", "public",       "templates"});
    return names;
}

// File names that say little without their folder: "README.md (~/src/parser)" is parser's readme.
const QSet<QString> &genericStems()
{
    static const QSet<QString> names = TextScanning::wordSet(
        {"readme", "index", "main", "mod", "lib", "__init__", "makefile", "cmakelists", "package", "setup",
         "config", "settings", "test", "tests", "todo", "notes", "new", "untitled"});
    return names;
}

// Terminals whose title, when it is no prompt or path, is the command that runs.
bool isTerminal(const std::optional<QString> &appId)
{
    static const QSet<QString> ids = TextScanning::wordSet(
        {"debian-xterm", "debian-uxterm", "xterm", "uxterm", "kitty", "alacritty", "lxterminal", "qterminal",
         "xfce4-terminal", "org.gnome.terminal", "gnome-terminal", "com.gexperts.tilix", "org.kde.konsole",
         "org.wezfurlong.wezterm", "foot", "terminator", "org.gnome.console"});
    return appId && ids.contains(appId->toLower());
}

QString normalized(const QString &title)
{
    QString text = title;
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control || c == QChar(0x00A0))
            c = u' ';
    }
    return text.simplified();
}

bool chopSuffix(QString &title, const QString &name)
{
    for (const QString &separator : separators()) {
        const QString suffix = separator + name;
        if (title.size() > suffix.size() && title.endsWith(suffix, Qt::CaseInsensitive)) {
            title.chop(suffix.size());
            return true;
        }
    }
    return false;
}

bool chopPrefix(QString &title, const QRegularExpression &prefix)
{
    const QRegularExpressionMatch match = prefix.match(title);
    if (!match.hasMatch())
        return false;
    title = title.sliced(match.capturedLength()).trimmed();
    return true;
}

// Suffixes first, then prefixes, until nothing changes: "Terminal - main.c (~/src/parser) - VIM".
void stripApplication(QString &title, const std::optional<QString> &appName)
{
    // Vim's server name (VIM, GVIM2) is upper case; Emacs names the host.
    static const QRegularExpression editorSuffix = pattern(R"(\s[-—–]\s(G?VIM\d*|GNU Emacs at \S+)$)");
    static const QRegularExpression prefix = pattern(
        R"(^(Terminal -( |$)|Tilix: |Write: |mc |\[Extension Development Host\] |\[Z\] |\[\d+/\d+\] ))");
    static const QRegularExpression decoration = pattern(R"(\s\[Superuser\]$)");
    for (bool changed = true; changed;) {
        changed = false;
        if (const auto match = editorSuffix.match(title); match.hasMatch()) {
            title.truncate(match.capturedStart());
            changed = true;
        }
        if (const auto match = decoration.match(title); match.hasMatch()) {
            title.truncate(match.capturedStart());
            changed = true;
        }
        if (appName && !appName->isEmpty() && chopSuffix(title, *appName))
            changed = true;
        for (const QString &name : applicationSuffixes())
            changed = chopSuffix(title, name) || changed;
        changed = chopPrefix(title, prefix) || changed;
    }
    if ((appName && title.compare(*appName, Qt::CaseInsensitive) == 0) ||
        applicationSuffixes().contains(title, Qt::CaseInsensitive))
        title.clear();
}

QStringList segments(const QString &title)
{
    QStringList pieces{title};
    for (const QString &separator : separators()) {
        QStringList split;
        for (const QString &piece : std::as_const(pieces))
            split += piece.split(separator, Qt::SkipEmptyParts);
        pieces = split;
    }
    return pieces;
}

// Modified and status markers: "*notes.txt", "● main.c", "main.c *", "(read-only)", "(imported)".
QString withoutMarkers(QString segment)
{
    static const QRegularExpression leading = pattern(R"(^(\*\s?|[●•]\s))");
    static const QRegularExpression trailing = pattern(
        R"(\s(\*|\((read-only|imported|exported|modified|clean|Workspace)\)|\(\w+ Image, [^)]*pixels\))$)");
    if (!(segment.startsWith(u'*') && segment.endsWith(u'*')))
        segment.remove(leading);
    segment.remove(trailing);
    return segment.trimmed();
}

bool isPlaceholder(const QString &segment)
{
    static const QRegularExpression placeholder = pattern(
        R"(^(untitled( document)?( \d+)?|new document|\[no name\]|\[untitled\]|\(no subject\)|\*.+\*)$)",
        QRegularExpression::CaseInsensitiveOption);
    return placeholder.match(segment).hasMatch() || fixedWindowNames().contains(segment.toLower());
}

bool looksLikePath(const QString &text)
{
    static const QRegularExpression start = pattern(R"(^(~(/|$)|/|\.{1,2}/|file://))");
    return start.match(text).hasMatch() || (!text.contains(u' ') && text.contains(u'/'));
}

// The stem of a file name, or none when the name has no extension.
std::optional<QString> fileStem(const QString &name)
{
    static const QRegularExpression extension =
        pattern(R"((\.tar)?\.(?=[A-Za-z0-9]{0,4}[A-Za-z])[A-Za-z0-9]{1,5}$)");
    const QRegularExpressionMatch match = extension.match(name);
    if (!match.hasMatch() || match.capturedStart() == 0)
        return std::nullopt;
    return name.first(match.capturedStart());
}

bool isNamelessFolder(const QString &name, const WindowTitle::Identity &identity)
{
    return genericFolders().contains(name.toLower()) || name == identity.userName ||
           name == identity.hostName;
}

// fish shortens every folder but the last to one character: "~/s/parser", "~/.c/fish".
bool isShortened(const QString &component)
{
    return component.size() == 1 || (component.size() == 2 && component.startsWith(u'.'));
}

Reading pathReading(QString path, bool isFolder, const WindowTitle::Identity &identity)
{
    if (path.startsWith(QLatin1String("file://")))
        path = QUrl::fromPercentEncoding(path.sliced(7).toUtf8());
    isFolder = isFolder || path.endsWith(u'/');
    QStringList components = path.split(u'/', Qt::SkipEmptyParts);
    Reading reading{Reading::Kind::Folder, {}, {}, {}};
    if (!isFolder && !components.isEmpty()) {
        if (const auto stem = fileStem(components.last())) {
            reading = {Reading::Kind::File, *stem, {}, {}};
            components.removeLast();
        }
    }
    for (qsizetype i = components.size() - 1; i >= 0; --i) {
        const QString &component = components[i];
        const bool isLast = i == components.size() - 1 && reading.kind == Reading::Kind::Folder;
        // The folder after home or media is a user's name.
        const bool isUser = i > 0 && (components[i - 1] == u"home" || components[i - 1] == u"media");
        if (isUser || isNamelessFolder(component, identity) || (!isLast && isShortened(component)))
            continue;
        (reading.kind == Reading::Kind::File ? reading.folderHint : reading.text) = component;
        break;
    }
    if (reading.kind == Reading::Kind::Folder && reading.text.isEmpty())
        return {};
    return reading;
}

Reading fileReading(const QString &name, const QString &folder, const WindowTitle::Identity &identity)
{
    Reading reading{Reading::Kind::File, fileStem(name).value_or(name), {}, {}};
    if (!folder.isEmpty())
        reading.folderHint = pathReading(folder, true, identity).text;
    return reading;
}

// Shells and everyday commands say nothing of what a terminal shows; a full-screen program ("gitui",
// "btop") names it.
bool isEverydayCommand(const QString &program)
{
    static const QSet<QString> commands = TextScanning::wordSet(
        {"sh",    "bash",  "zsh",  "fish", "dash", "ksh",  "csh",  "tcsh",  "sleep",  "make",    "cmake",
         "ninja", "git",   "ls",   "cd",   "cat",  "less", "more", "man",   "ssh",    "sudo",    "su",
         "watch", "tail",  "head", "grep", "find", "env",  "time", "echo",  "python", "python3", "node",
         "npm",   "cargo", "go",   "vim",  "vi",   "nvim", "nano", "emacs", "tmux",   "screen",  "mc"});
    return commands.contains(program.toLower());
}

// A terminal's command line: the program unless it is an everyday command, and the file or folder of
// its last argument ("less report.pdf", fish's "sleep 3 ~/s/parser").
Reading commandReading(const QStringList &tokens, const WindowTitle::Identity &identity)
{
    const QString program = tokens.first().section(u'/', -1);
    Reading reading;
    if (tokens.size() > 1 && (looksLikePath(tokens.last()) || fileStem(tokens.last())))
        reading = tokens.last().contains(u'/')
                      ? pathReading(tokens.last(), false, identity)
                      : Reading{Reading::Kind::File, *fileStem(tokens.last()), {}, {}};
    if (!isEverydayCommand(program) && !program.startsWith(u'-'))
        reading.program = program;
    return reading;
}

// What one segment names, read by the forms Linux applications give their titles.
Reading readSegment(QString segment, bool inTerminal, const WindowTitle::Identity &identity)
{
    static const QRegularExpression prompt =
        pattern(R"(^\[?[a-z_][a-z0-9_.-]*\$?@[A-Za-z0-9][A-Za-z0-9.-]*\]?\s?:\s?(.*)$)");
    static const QRegularExpression konsole = pattern(R"(^(\S+) : \S+$)");
    static const QRegularExpression remote = pattern(R"(^\(\S+\) \S+$)");
    static const QRegularExpression chatChannel = pattern(R"(^\S+ @ \S+ / (\S+)$)");
    static const QRegularExpression mailPrefix =
        pattern(R"(^((re|fwd?|aw|wg):\s*)+)", QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression indexOf = pattern(R"(^Index of )");
    static const QRegularExpression folderInParentheses = pattern(R"(^(.+?)(\s(=\+|[+=-]))?\s\(([^()]+)\)$)");
    static const QRegularExpression session = pattern(R"(^([\w.-]+): (.+)$)");
    static const QRegularExpression imageEditor =
        pattern(R"(^\[?(.+?)\]?( \((imported|exported)\))?-\d+\.\d+ \(.*\) \d+x\d+$)");
    static const QRegularExpression viewerStatus = pattern(R"(^(\d+/\d+ \(\d+ dpi\)|\d+x\d+|\d+%)$)");
    static const QRegularExpression email = pattern(R"(\S+@\S+\.\S+)");

    segment = withoutMarkers(segment);
    if (segment.isEmpty() || isPlaceholder(segment) || viewerStatus.match(segment).hasMatch() ||
        remote.match(segment).hasMatch())
        return {};
    if (const auto match = prompt.match(segment); match.hasMatch())
        return pathReading(match.captured(1).isEmpty() ? QStringLiteral("~") : match.captured(1), true,
                           identity);
    if (const auto match = konsole.match(segment); match.hasMatch())
        return pathReading(match.captured(1), true, identity);
    if (const auto match = chatChannel.match(segment); match.hasMatch())
        return {Reading::Kind::Page, match.captured(1), {}, {}};
    if (const auto match = imageEditor.match(segment); match.hasMatch())
        return fileReading(match.captured(1), {}, identity);
    segment.remove(email);
    segment.remove(mailPrefix);
    segment.remove(indexOf);
    segment = segment.trimmed();
    if (segment.isEmpty() || isPlaceholder(segment))
        return {};
    if (const auto match = folderInParentheses.match(segment);
        match.hasMatch() && looksLikePath(match.captured(4)))
        return fileReading(match.captured(1), match.captured(4), identity);
    if (looksLikePath(segment))
        return pathReading(segment, false, identity);
    if (const auto match = session.match(segment); match.hasMatch()) {
        if (isPlaceholder(match.captured(2)))
            return {Reading::Kind::Folder, match.captured(1), {}, {}};
        if (fileStem(match.captured(2)))
            return {Reading::Kind::File, *fileStem(match.captured(2)), match.captured(1), {}};
    }
    if (inTerminal)
        return commandReading(segment.split(u' '), identity);
    const QStringList tokens = segment.split(u' ');
    // fish while a command runs: "sleep 3 ~/s/parser".
    if (tokens.size() > 1 && tokens.last().contains(u'/') && looksLikePath(tokens.last()))
        return pathReading(tokens.last(), true, identity);
    if (const auto stem = fileStem(segment))
        return {Reading::Kind::File, *stem, {}, {}};
    if (genericFolders().contains(segment.toLower()))
        return {};
    return {Reading::Kind::Page, segment, {}, {}};
}

} // namespace

namespace WindowTitle {

const Identity &localIdentity()
{
    static const Identity identity = [] {
        Identity result;
        if (const passwd *entry = getpwuid(getuid()))
            result.userName = QString::fromLocal8Bit(entry->pw_name);
        std::array<char, maxHostNameLength> host{};
        if (gethostname(host.data(), host.size() - 1) == 0)
            result.hostName = QString::fromLocal8Bit(host.data()).section(u'.', 0, 0);
        return result;
    }();
    return identity;
}

QStringList words(const CaptureContext &context, const Identity &identity)
{
    if (!context.windowTitle)
        return {};
    QString title = normalized(*context.windowTitle);
    stripApplication(title, context.appName);
    QStringList front;
    QStringList rest;
    bool sawFile = false;
    for (const QString &segment : segments(title)) {
        const Reading reading = readSegment(segment, isTerminal(context.appId), identity);
        const QStringList segmentWords = SlugGenerator::words(WordEvidence::spelledOut(reading.text));
        front += SlugGenerator::words(reading.program);
        switch (reading.kind) {
        case Reading::Kind::File:
            sawFile = true;
            if (genericStems().contains(reading.text.toLower()))
                front += SlugGenerator::words(reading.folderHint);
            rest += segmentWords;
            break;
        case Reading::Kind::Folder:
            front += segmentWords;
            break;
        case Reading::Kind::Page:
            // After a file, one word is its project ("main.c - parser"); more is the document's own
            // title, which the file name already gives.
            if (!sawFile)
                rest += segmentWords;
            else if (segmentWords.size() == 1)
                front += segmentWords;
            break;
        case Reading::Kind::Nothing:
            break;
        }
    }
    QStringList result;
    for (const QString &word : front + rest) {
        if (SlugGenerator::hasWordLength(word) && !result.contains(word) &&
            word != identity.userName.toLower() && word != identity.hostName.toLower())
            result.append(word);
    }
    return result;
}

} // namespace WindowTitle
