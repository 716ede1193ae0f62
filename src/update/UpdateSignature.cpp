// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdateSignature.h"

#include <sodium.h>

namespace UpdateSignature {

bool verify(QByteArrayView data, const QString &signatureBase64, const QByteArray &publicKey)
{
    static_assert(publicKeySize == crypto_sign_PUBLICKEYBYTES);
    if (sodium_init() < 0 || publicKey.size() != publicKeySize)
        return false;
    const auto signature =
        QByteArray::fromBase64Encoding(signatureBase64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!signature || signature.decoded.size() != crypto_sign_BYTES)
        return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(signature.decoded.constData()),
                                       reinterpret_cast<const unsigned char *>(data.data()),
                                       static_cast<unsigned long long>(data.size()),
                                       reinterpret_cast<const unsigned char *>(publicKey.constData())) == 0;
}

} // namespace UpdateSignature
