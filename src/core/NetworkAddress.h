// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QUrl;

namespace NetworkAddress {

// The URL's host is this computer: "localhost" (or a name under it) or a loopback address.
bool isLoopback(const QUrl &url);

} // namespace NetworkAddress
