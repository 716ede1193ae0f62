// SPDX-License-Identifier: GPL-3.0-or-later
#include "intake/PropertyList.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Raw data: no copy and no terminating zero, so a read past the end is caught.
    PropertyList::truthValue(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
