// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/RenamePanelModel.h"

#include <QToolButton>

class QPainter;

// Where a file lies, "Screenshots › Receipts" with a folder in front and up-down chevrons
// behind; opens its menu of folders to move the file to.
class LocationButton final : public QToolButton
{
public:
    explicit LocationButton(QWidget *parent = nullptr);

    // Highlighted while the menu is open.
    void setLocation(const FileLocation &location, bool highlighted);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int layOut(QPainter *painter) const;

    FileLocation m_location;
    bool m_highlighted = false;
};
