// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/TakeOverChannel.h"

// The take-over as a session-bus signal takeOver(string token) on org.quillo.Quillo, the
// token being the process id. Without a session bus nothing is announced (logged once).
class DBusTakeOverChannel final : public TakeOverChannel
{
    Q_OBJECT

public:
    explicit DBusTakeOverChannel(QObject *parent = nullptr);

    void announce() override;

private slots:
    void receive(const QString &token);

private:
    QString m_token;
};
