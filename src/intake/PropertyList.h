// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>

// Reads the one value that matters in small property lists, as files copied from a Mac carry
// them in extended attributes.
namespace PropertyList {

// The top object of a binary ("bplist00") or XML property list as a truth value: a boolean, or
// a number by whether it is non-zero. Nothing for other objects and for malformed bytes.
std::optional<bool> truthValue(const QByteArray &bytes);

} // namespace PropertyList
