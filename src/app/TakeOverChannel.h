// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Makes sure one copy of Quillo runs: a starting copy announces itself, and every older copy
// that hears it is asked to quit. Main thread.
class TakeOverChannel : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts listening, then tells the other copies that this one takes over.
    virtual void announce() = 0;

signals:
    // Another copy has started.
    void takeOverRequested();
};
