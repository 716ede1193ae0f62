// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Makes sure one copy of Quillo runs: a starting copy asks the running one to quit. Main thread.
class TakeOverChannel : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts listening, then asks the running copy to leave. False when one runs and stays.
    virtual bool announce() = 0;

signals:
    // A newer copy has started and asks this one to leave.
    void takeOverRequested();
};
