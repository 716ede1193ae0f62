// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CategoryRuleRow.h"

#include "core/TextScanning.h"
#include "ui/SettingsPresentation.h"
#include "ui/SettingsWidgets.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int folderFieldWidth = 200;

// The check box names the category in the user's language; the folder keeps the name it has on disk.
const char *const categoryLabels[] = {
    QT_TRANSLATE_NOOP("CategoryRuleRow", "Receipts & Invoices"),
    QT_TRANSLATE_NOOP("CategoryRuleRow", "Code & Terminal"),
    QT_TRANSLATE_NOOP("CategoryRuleRow", "UI & Design"),
    QT_TRANSLATE_NOOP("CategoryRuleRow", "Chats & Docs"),
    QT_TRANSLATE_NOOP("CategoryRuleRow", "Web"),
    QT_TRANSLATE_NOOP("CategoryRuleRow", "Other"),
};

QString categoryLabel(ScreenshotCategory category)
{
    const QByteArray folderName = defaultFolderName(category).toUtf8();
    for (const char *label : categoryLabels) {
        if (folderName == label)
            return QCoreApplication::translate("CategoryRuleRow", label);
    }
    return QString::fromUtf8(folderName);
}

} // namespace

CategoryRuleRow::CategoryRuleRow(const CategoryRule &rule, QWidget *parent)
    : QWidget(parent)
    , m_rule(rule)
    // "&" would mark a keyboard shortcut ("Receipts & Invoices").
    , m_enabled(new QCheckBox(TextScanning::escapedMnemonics(categoryLabel(rule.category)), this))
    , m_folderName(new QLineEdit(rule.folderName, this))
    , m_keywords(new QLineEdit(rule.extraKeywords, this))
    , m_problem(SettingsWidgets::errorLabel(this))
{
    const QString raw = rawValue(rule.category);
    m_enabled->setObjectName(raw + QStringLiteral("RuleCheckBox"));
    m_enabled->setChecked(rule.isEnabled);
    m_folderName->setObjectName(raw + QStringLiteral("FolderLineEdit"));
    m_folderName->setPlaceholderText(defaultFolderName(rule.category));
    m_folderName->setAccessibleName(QCoreApplication::translate("CategoryRuleRow", "Folder name"));
    m_folderName->setFixedWidth(folderFieldWidth);
    m_keywords->setObjectName(raw + QStringLiteral("KeywordsLineEdit"));
    m_keywords->setPlaceholderText(
        QCoreApplication::translate("CategoryRuleRow", "Extra keywords, comma separated"));
    m_keywords->setAccessibleName(QCoreApplication::translate("CategoryRuleRow", "Extra keywords"));
    m_keywords->setFont(SettingsWidgets::calloutFont(m_keywords->font()));
    m_problem->setObjectName(raw + QStringLiteral("FolderProblemLabel"));

    auto *firstLine = new QHBoxLayout;
    firstLine->addWidget(m_enabled);
    firstLine->addStretch();
    firstLine->addWidget(m_folderName);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(firstLine);
    layout->addWidget(m_keywords);
    layout->addWidget(m_problem);

    connect(m_enabled, &QCheckBox::clicked, this, [this](bool checked) {
        CategoryRule edited = m_rule;
        edited.isEnabled = checked;
        emit ruleEdited(edited);
    });
    connect(m_folderName, &QLineEdit::textEdited, this, &CategoryRuleRow::folderNameEdited);
    connect(m_keywords, &QLineEdit::textEdited, this, [this](const QString &text) {
        CategoryRule edited = m_rule;
        edited.extraKeywords = text;
        emit ruleEdited(edited);
    });
}

void CategoryRuleRow::setRule(const CategoryRule &rule)
{
    const CategoryRule previous = std::exchange(m_rule, rule);
    m_enabled->setChecked(rule.isEnabled);
    // setText would also wipe the field's undo history, so only a real change from elsewhere does it.
    if (rule.folderName != previous.folderName && rule.folderName != m_folderName->text()) {
        m_folderName->setText(rule.folderName);
        m_problem->hide();
    }
    if (rule.extraKeywords != previous.extraKeywords && rule.extraKeywords != m_keywords->text())
        m_keywords->setText(rule.extraKeywords);
}

void CategoryRuleRow::folderNameEdited(const QString &text)
{
    const auto problem = SettingsPresentation::folderNameProblem(text);
    m_problem->setText(problem.value_or(QString()));
    m_problem->setVisible(problem.has_value());
    if (problem)
        return;
    CategoryRule edited = m_rule;
    edited.folderName = text;
    emit ruleEdited(edited);
}
