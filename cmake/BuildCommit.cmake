# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the short commit of the checkout at SOURCE_DIR (empty outside a git checkout) to OUTPUT as
# QUILLO_BUILD_COMMIT. The file changes only when the commit does, so nothing else rebuilds.
execute_process(COMMAND git -C ${SOURCE_DIR} rev-parse --short HEAD
                OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    set(commit "")
endif()
file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "#pragma once\n#define QUILLO_BUILD_COMMIT \"${commit}\"\n")
