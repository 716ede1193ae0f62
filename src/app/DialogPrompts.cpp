// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialogPrompts.h"

#include "ui/FolderDialogs.h"

#include <QCoreApplication>
#include <QMessageBox>

void DialogPrompts::warn(const QString &message, const QString &informativeText)
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("DialogPrompts", "Quillo"), message);
    box.setInformativeText(informativeText);
    box.activateWindow();
    box.exec();
}

std::optional<QString> DialogPrompts::chooseFolder(const QString &acceptLabel, const QString &message,
                                                   const QString &startFolder)
{
    return FolderDialogs::chooseFolder(acceptLabel, message, startFolder);
}
