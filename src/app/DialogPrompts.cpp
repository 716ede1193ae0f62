#include "app/DialogPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

void DialogPrompts::warn(const QString &message, const QString &informativeText)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillo"), message);
    box.setInformativeText(informativeText);
    box.activateWindow();
    box.exec();
}

std::optional<QString> DialogPrompts::chooseFolder(const QString &acceptLabel, const QString &message,
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
