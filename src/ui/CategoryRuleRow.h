// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/RoutingConfiguration.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

// Edits one routing rule on two lines: the switch with the category's name and the folder name, then
// the extra keywords. A folder name that cannot be used is explained under the row and not passed on.
class CategoryRuleRow final : public QWidget
{
    Q_OBJECT

public:
    explicit CategoryRuleRow(const CategoryRule &rule, QWidget *parent = nullptr);

    // Shows a rule changed elsewhere; a field being typed in keeps its text while its value is unchanged.
    void setRule(const CategoryRule &rule);

signals:
    void ruleEdited(const CategoryRule &rule);

private:
    void folderNameEdited(const QString &text);

    CategoryRule m_rule;
    QCheckBox *m_enabled;
    QLineEdit *m_folderName;
    QLineEdit *m_keywords;
    QLabel *m_problem;
};
