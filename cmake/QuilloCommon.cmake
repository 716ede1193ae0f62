# SPDX-License-Identifier: GPL-3.0-or-later
add_library(quillo_common INTERFACE)
target_compile_features(quillo_common INTERFACE cxx_std_20)
target_include_directories(quillo_common INTERFACE ${PROJECT_SOURCE_DIR}/src)
target_compile_definitions(quillo_common INTERFACE
    QT_NO_CAST_TO_ASCII QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_DISABLE_DEPRECATED_BEFORE=0x060400
    QUILLO_VERSION="${PROJECT_VERSION}")
target_compile_options(quillo_common INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual)
