// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/BuildConfiguration.h"

#include "BuildCommit.h"

namespace BuildConfiguration {

QString version()
{
    return QStringLiteral(QUILLO_VERSION);
}

QString commit()
{
    return QStringLiteral(QUILLO_BUILD_COMMIT);
}

QString updateFeedUrl()
{
    return QStringLiteral(QUILLO_UPDATE_FEED_URL);
}

QString updatePublicKey()
{
    return QStringLiteral(QUILLO_UPDATE_PUBLIC_KEY);
}

} // namespace BuildConfiguration
