// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ScreenshotCategory.h"

#include <QString>

#include <optional>

// Which path produced a name; the raw value is what the rename history stores.
enum class NamingSource
{
    LocalModel,      // the local model answering a prompt built from the recognised text
    LocalModelImage, // the local model looking at the image itself
    Heuristics       // Quillo's own heuristics over the recognised text
};

QString rawValue(NamingSource source);
std::optional<NamingSource> namingSourceFromRawValue(QStringView raw);

struct NamingSuggestion
{
    QString slug; // lowercase keywords joined by "-", no extension or date suffix
    ScreenshotCategory category = ScreenshotCategory::Other;
    NamingSource source = NamingSource::Heuristics;

    friend bool operator==(const NamingSuggestion &, const NamingSuggestion &) = default;
};
