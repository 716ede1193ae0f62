// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/PanelIcons.h"

#include <QAbstractButton>

#include <optional>

// A capsule-shaped button with a title and an optional icon; a prominent one is filled with the
// accent colour. Takes no focus, so clicking it leaves the name field's focus alone.
class CapsuleButton final : public QAbstractButton
{
public:
    CapsuleButton(const QString &text, std::optional<PanelIcons::Symbol> symbol, bool prominent,
                  QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<PanelIcons::Symbol> m_symbol;
    bool m_prominent;
};
