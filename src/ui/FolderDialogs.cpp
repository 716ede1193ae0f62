// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FolderDialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

std::optional<QString> FolderDialogs::chooseFolder(const QString &acceptLabel, const QString &message,
                                                   const QString &startFolder)
{
    QFileDialog dialog(nullptr, message, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setLabelText(QFileDialog::Accept, acceptLabel);
    dialog.activateWindow();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> FolderDialogs::askNewFolderName(const QString &rootTitle)
{
    QDialog dialog;
    dialog.setWindowTitle(QCoreApplication::translate("FolderDialogs", "New Folder"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *text = new QLabel(QCoreApplication::translate(
                                "FolderDialogs", "Create a folder in “%1” and move the screenshot into it.")
                                .arg(rootTitle));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *name = new QLineEdit;
    name->setPlaceholderText(QCoreApplication::translate("FolderDialogs", "Folder name"));
    name->setMinimumWidth(260);
    layout->addWidget(name);
    auto *buttons = new QDialogButtonBox;
    buttons
        ->addButton(QCoreApplication::translate("FolderDialogs", "Create and Move"),
                    QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    name->setFocus();
    dialog.activateWindow();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return name->text();
}
