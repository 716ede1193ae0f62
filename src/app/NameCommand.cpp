#include "app/NameCommand.h"

#include "naming/OnDeviceNamer.h"
#include "naming/RecognitionLanguages.h"
#include "settings/PreferencesStore.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent>

#include <cstdio>
#include <unistd.h>

namespace {

QByteArray jsonLine(const QString &file, const OnDeviceNamer::Outcome &outcome)
{
    QJsonObject object{{QStringLiteral("file"), file}};
    if (!outcome.recognitionError.isEmpty()) {
        object.insert(QStringLiteral("error"), outcome.recognitionError);
    } else {
        object.insert(QStringLiteral("slug"), outcome.suggestion.slug);
        object.insert(QStringLiteral("category"), rawValue(outcome.suggestion.category));
        object.insert(QStringLiteral("source"), rawValue(outcome.suggestion.source));
        object.insert(QStringLiteral("ocrMs"), outcome.ocrMs);
        object.insert(QStringLiteral("totalMs"), outcome.totalMs);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray plainLine(const QString &file, const OnDeviceNamer::Outcome &outcome)
{
    if (!outcome.recognitionError.isEmpty())
        return (file + QStringLiteral(": ") + outcome.recognitionError).toUtf8();
    return (outcome.suggestion.slug + u'\t' + rawValue(outcome.suggestion.category) + u'\t' +
            rawValue(outcome.suggestion.source) + u'\t' + file)
        .toUtf8();
}

bool isBidiControl(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F ||
           c == 0x061C;
}

// The length of the valid UTF-8 sequence starting at `i`, or 0.
int utf8Length(const QByteArray &bytes, qsizetype i, char32_t &codePoint)
{
    const auto byte = [&](qsizetype at) {
        return static_cast<unsigned char>(bytes[at]);
    };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

// A path Qt can open for the argument: the name itself when it survives decoding, else a link with
// a plain name (and the same extension) in `links`, pointing at the original bytes.
QString readablePath(const QByteArray &argument, const QTemporaryDir &links, int index)
{
    const QString decoded = QFile::decodeName(argument);
    if (QFile::encodeName(decoded) == argument)
        return QFileInfo(decoded).absoluteFilePath();
    QByteArray target = argument;
    if (!target.startsWith('/'))
        target = QFile::encodeName(QDir::currentPath()) + '/' + target;
    const QByteArray extension = argument.mid(argument.lastIndexOf('.') + 1);
    const bool plainExtension = argument.contains('.') && !extension.contains('/') &&
                                std::all_of(extension.begin(), extension.end(), [](char c) {
                                    return std::isalnum(uchar(c));
                                });
    const QString link = links.filePath(QString::number(index) +
                                        (plainExtension ? u'.' + QString::fromLatin1(extension) : QString()));
    if (::symlink(target.constData(), QFile::encodeName(link).constData()) != 0)
        return decoded;
    return link;
}

} // namespace

namespace NameCommand {

QString escapedName(const QByteArray &name)
{
    QString text;
    for (qsizetype i = 0; i < name.size();) {
        char32_t c = 0;
        const int length = utf8Length(name, i, c);
        if (length == 0) {
            text += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(name[i]), 2, 16, QLatin1Char('0'));
            ++i;
            continue;
        }
        i += length;
        if (c == '\\')
            text += QStringLiteral("\\\\");
        else if (c == '\n')
            text += QStringLiteral("\\n");
        else if (c == '\t')
            text += QStringLiteral("\\t");
        else if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0))
            text += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else if (isBidiControl(c))
            text += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
        else
            text += QString::fromUcs4(&c, 1);
    }
    return text;
}

int run(const QList<QByteArray> &arguments, bool json)
{
    QTemporaryDir links;
    QStringList paths;
    QStringList files;
    for (const QByteArray &argument : arguments) {
        paths.append(readablePath(argument, links, int(paths.size())));
        files.append(escapedName(argument));
    }

    PreferencesStore preferences(PreferencesStore::defaultPath());
    const SettingsStore settings(preferences);
    QThreadPool pool;
    const OnDeviceNamer namer({settings.useLocalModel(),
                               settings.localModelUrl(),
                               settings.localModelName(),
                               {},
                               RecognitionLanguages::wanted(settings.recognitionLanguages())},
                              pool);
    const RoutingConfiguration routing = settings.routing();

    // Named two at a time on a two-core machine, printed in the order given.
    QList<QFuture<OnDeviceNamer::Outcome>> outcomes;
    for (const QString &path : paths) {
        outcomes.append(QtConcurrent::run(&pool, [&namer, &routing, path] {
            return namer.name(path, CaptureContext{}, routing);
        }));
    }
    int status = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const OnDeviceNamer::Outcome outcome = outcomes[i].result();
        if (!outcome.recognitionError.isEmpty()) {
            status = 1;
            if (!json) {
                std::fprintf(stderr, "quillo: %s\n", plainLine(files[i], outcome).constData());
                continue;
            }
        }
        const QByteArray line = json ? jsonLine(files[i], outcome) : plainLine(files[i], outcome);
        std::printf("%s\n", line.constData());
        std::fflush(stdout);
    }
    return status;
}

} // namespace NameCommand
