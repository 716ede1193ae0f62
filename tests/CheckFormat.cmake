# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when any C++ file under src/, tests/, bench/ or tools/ differs from what clang-format makes of it.
execute_process(COMMAND git ls-files --cached --others --exclude-standard -- src tests bench tools
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE listed RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "git ls-files failed; the format check needs a git checkout")
endif()
string(REPLACE "\n" ";" listed "${listed}")
set(files "")
foreach(file IN LISTS listed)
    if(file MATCHES "\\.(cpp|h)$")
        list(APPEND files ${file})
    endif()
endforeach()
if(files)
    execute_process(COMMAND clang-format --dry-run -Werror ${files}
                    WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "clang-format found unformatted files; run `make format`")
    endif()
endif()
