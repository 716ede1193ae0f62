// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ScreenshotCategory.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One category's routing: where its screenshots go and which extra words point to it.
struct CategoryRule
{
    ScreenshotCategory category = ScreenshotCategory::Other;
    QString folderName;
    bool isEnabled = true;
    QString extraKeywords; // comma-separated, as the user typed them

    static CategoryRule defaultRule(ScreenshotCategory category);

    // The built-in keywords followed by the user's extra ones, trimmed and lower-cased.
    QStringList keywords() const;

    friend bool operator==(const CategoryRule &, const CategoryRule &) = default;
};

struct RoutingConfiguration
{
    QList<CategoryRule> rules;

    // One enabled rule per category with its default folder name.
    static RoutingConfiguration defaultConfiguration();

    // Exactly one rule per category in category order: the first rule of each category wins,
    // missing categories get their default rule.
    RoutingConfiguration normalized() const;

    // The first rule for the category, or its default rule.
    CategoryRule rule(ScreenshotCategory category) const;

    // {"rules":[{"category":…,"folderName":…,"isEnabled":…,"extraKeywords":…}, …]}
    QByteArray toJson() const;
    // Fails as a whole on any missing key, wrong type or unknown category.
    static std::optional<RoutingConfiguration> fromJson(const QByteArray &json);

    friend bool operator==(const RoutingConfiguration &, const RoutingConfiguration &) = default;
};
