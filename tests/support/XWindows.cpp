// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/XWindows.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

QString xwininfo(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xwininfo"), arguments);
    if (!process.waitForFinished(5000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

int field(const QString &info, const QString &name)
{
    return QRegularExpression(name + QStringLiteral(":\\s*(\\d+)")).match(info).captured(1).toInt();
}

} // namespace

QSize XWindows::screenSize()
{
    const QString root = xwininfo({QStringLiteral("-root")});
    return {field(root, QStringLiteral("Width")), field(root, QStringLiteral("Height"))};
}

std::optional<QRect> XWindows::viewable(const QString &title)
{
    // One line per window: `0x200006 "Quillo Settings": ("quillo" "quillo")  560x600+0+0  +360+16`.
    static const QRegularExpression line(QString::fromLatin1(
        R"re((0x[0-9a-f]+) "(.*)": \(.*\)\s+(\d+)x(\d+)[+-]\d+[+-]\d+\s+\+(-?\d+)\+(-?\d+))re"));
    auto windows = line.globalMatch(xwininfo({QStringLiteral("-root"), QStringLiteral("-children")}));
    while (windows.hasNext()) {
        const QRegularExpressionMatch window = windows.next();
        if (window.captured(2) == title && xwininfo({QStringLiteral("-id"), window.captured(1)})
                                               .contains(QLatin1String("Map State: IsViewable")))
            return QRect(window.captured(5).toInt(), window.captured(6).toInt(), window.captured(3).toInt(),
                         window.captured(4).toInt());
    }
    return std::nullopt;
}
