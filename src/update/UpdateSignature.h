// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Ed25519 signatures of update archives. Safe on any thread.
namespace UpdateSignature {

constexpr qsizetype publicKeySize = 32;

// True only when `signatureBase64` decodes to a signature of exactly `data` made with the secret half
// of `publicKey`.
bool verify(QByteArrayView data, const QString &signatureBase64, const QByteArray &publicKey);

} // namespace UpdateSignature
