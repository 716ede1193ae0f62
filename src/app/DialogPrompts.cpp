// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialogPrompts.h"

#include "ui/FolderDialogs.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

void DialogPrompts::warn(const QString &message, const QString &informativeText)
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("DialogPrompts", "Quillo"), message);
    box.setInformativeText(informativeText);
    box.activateWindow();
    box.exec();
}

bool DialogPrompts::confirm(const QString &message, const QString &informativeText,
                            const QString &acceptLabel)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("DialogPrompts", "Quillo"), message);
    box.setInformativeText(informativeText);
    QPushButton *accept = box.addButton(acceptLabel, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.activateWindow();
    box.exec();
    return box.clickedButton() == accept;
}

std::optional<QString> DialogPrompts::chooseFolder(const QString &acceptLabel, const QString &message,
                                                   const QString &startFolder)
{
    return FolderDialogs::chooseFolder(acceptLabel, message, startFolder);
}
