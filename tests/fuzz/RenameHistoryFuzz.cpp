// SPDX-License-Identifier: GPL-3.0-or-later
#include "renaming/RenameRecord.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto json = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const RenameRecordJson::Decoded decoded = RenameRecordJson::decode(json);
    // Every readable record is written back and read again unchanged.
    const RenameRecordJson::Decoded again =
        RenameRecordJson::decode(RenameRecordJson::encode(decoded.records));
    if (again.unreadableCount != 0 || again.records != decoded.records)
        std::abort();
    return 0;
}
