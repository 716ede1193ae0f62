// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The six folder categories, in the order used for defaults, the settings window and classification.
enum class ScreenshotCategory
{
    Receipts,
    Code,
    Design,
    Chats,
    Web,
    Other
};

constexpr std::array<ScreenshotCategory, 6> allScreenshotCategories{
    ScreenshotCategory::Receipts, ScreenshotCategory::Code, ScreenshotCategory::Design,
    ScreenshotCategory::Chats,    ScreenshotCategory::Web,  ScreenshotCategory::Other};

// The stored form of a category ("receipts", "code", ...).
QString rawValue(ScreenshotCategory category);
std::optional<ScreenshotCategory> categoryFromRawValue(QStringView raw);

// Also the category's title in the settings window.
QString defaultFolderName(ScreenshotCategory category);

// Built-in lower-case keywords and front-application hints used by the classifier.
const QStringList &defaultKeywords(ScreenshotCategory category);
const QStringList &appHints(ScreenshotCategory category);
