#include "ToolSettingsFuzz.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    ToolSettingsFuzz::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ToolSettingsFuzz::run("spectaclerc", data, size);
    return 0;
}
