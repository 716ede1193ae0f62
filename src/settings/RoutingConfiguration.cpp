// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RoutingConfiguration.h"

#include "core/TextScanning.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString categoryKey = QStringLiteral("category");
const QString folderNameKey = QStringLiteral("folderName");
const QString isEnabledKey = QStringLiteral("isEnabled");
const QString extraKeywordsKey = QStringLiteral("extraKeywords");
const QString rulesKey = QStringLiteral("rules");

std::optional<CategoryRule> ruleFromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const QJsonValue category = object.value(categoryKey);
    const QJsonValue folderName = object.value(folderNameKey);
    const QJsonValue isEnabled = object.value(isEnabledKey);
    const QJsonValue extraKeywords = object.value(extraKeywordsKey);
    if (!category.isString() || !folderName.isString() || !isEnabled.isBool() || !extraKeywords.isString())
        return std::nullopt;
    const auto parsed = categoryFromRawValue(category.toString());
    if (!parsed)
        return std::nullopt;
    return CategoryRule{*parsed, folderName.toString(), isEnabled.toBool(), extraKeywords.toString()};
}

} // namespace

CategoryRule CategoryRule::defaultRule(ScreenshotCategory category)
{
    return CategoryRule{category, defaultFolderName(category), true, QString()};
}

QStringList CategoryRule::keywords() const
{
    QStringList result = defaultKeywords(category);
    for (QStringView piece : QStringView(extraKeywords).split(u',')) {
        const QString keyword = TextScanning::trimmedHorizontally(piece).toString().toLower();
        if (!keyword.isEmpty())
            result.append(keyword);
    }
    return result;
}

RoutingConfiguration RoutingConfiguration::defaultConfiguration()
{
    RoutingConfiguration configuration;
    for (auto category : allScreenshotCategories)
        configuration.rules.append(CategoryRule::defaultRule(category));
    return configuration;
}

RoutingConfiguration RoutingConfiguration::normalized() const
{
    RoutingConfiguration result;
    for (auto category : allScreenshotCategories)
        result.rules.append(rule(category));
    return result;
}

CategoryRule RoutingConfiguration::rule(ScreenshotCategory category) const
{
    for (const CategoryRule &candidate : rules) {
        if (candidate.category == category)
            return candidate;
    }
    return CategoryRule::defaultRule(category);
}

QByteArray RoutingConfiguration::toJson() const
{
    QJsonArray array;
    for (const CategoryRule &rule : rules) {
        array.append(QJsonObject{{categoryKey, rawValue(rule.category)},
                                 {folderNameKey, rule.folderName},
                                 {isEnabledKey, rule.isEnabled},
                                 {extraKeywordsKey, rule.extraKeywords}});
    }
    return QJsonDocument(QJsonObject{{rulesKey, array}}).toJson(QJsonDocument::Compact);
}

std::optional<RoutingConfiguration> RoutingConfiguration::fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue rules = document.object().value(rulesKey);
    if (!rules.isArray())
        return std::nullopt;
    RoutingConfiguration configuration;
    for (const QJsonValue &value : rules.toArray()) {
        auto rule = ruleFromJson(value);
        if (!rule)
            return std::nullopt;
        configuration.rules.append(*rule);
    }
    return configuration;
}
