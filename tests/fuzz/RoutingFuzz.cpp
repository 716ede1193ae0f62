// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RoutingConfiguration.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto json = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto configuration = RoutingConfiguration::fromJson(json);
    if (!configuration)
        return 0;
    // Whatever is read is written back unchanged, and always yields one rule per category.
    if (RoutingConfiguration::fromJson(configuration->toJson()) != configuration ||
        configuration->normalized().rules.size() != qsizetype(allScreenshotCategories.size()))
        std::abort();
    return 0;
}
