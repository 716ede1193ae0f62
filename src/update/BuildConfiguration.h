// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the build put into the program: its version and where updates come from.
namespace BuildConfiguration {

// The project version, such as "0.1.0".
QString version();
// The short git commit the program was built from; empty when it was not built from a checkout.
QString commit();
// The update feed's address and the Base64 Ed25519 key of update archives; empty when not configured.
QString updateFeedUrl();
QString updatePublicKey();

} // namespace BuildConfiguration
