// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/NetworkAddress.h"

#include <QHostAddress>
#include <QUrl>

namespace NetworkAddress {

bool isLoopback(const QUrl &url)
{
    const QString host = url.host().toLower();
    return host == QLatin1String("localhost") || host.endsWith(QLatin1String(".localhost")) ||
           QHostAddress(host).isLoopback();
}

} // namespace NetworkAddress
