// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Whether a file already holds a whole image, judged from its first and last bytes: a PNG that ends
// with its IEND chunk, a JPEG that ends with its end-of-image marker, a WebP whose RIFF size is the
// file's. Any other file, or one that cannot be read, counts as not known to be complete.
namespace CompleteImage {

bool isComplete(const QString &path);

} // namespace CompleteImage
