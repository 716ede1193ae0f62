// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/LocalModelClient.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

#include <functional>

class SettingsStore;

// Finds out whether the local model can name screenshots and keeps the sentence the settings window
// shows about it. Lives on the main thread; the probe runs on its own worker thread, one at a time, so
// the interface never waits for the model server. Destroying it waits for a probe in flight (a few
// seconds at most): a probe still running once the application object is gone would never end.
class ModelAvailabilityMonitor final : public QObject
{
    Q_OBJECT

public:
    // Blocks for up to a few seconds; called on a worker thread.
    using Probe = std::function<ModelAvailability(const ModelServer &server)>;

    // Checks again shortly after the server address, its API or the model name changes.
    ModelAvailabilityMonitor(SettingsStore &settings, Probe probe, QObject *parent = nullptr);

    // Asks the local model server over HTTP, in its API.
    static Probe localServerProbe();

    // Starts a check now; a check already running is followed by a fresh one.
    void refresh();
    const QString &description() const { return m_description; }

signals:
    void descriptionChanged(const QString &description);

private:
    void start();
    void finished(const ModelAvailability &availability, const QString &url, const QString &model);

    SettingsStore &m_settings;
    Probe m_probe;
    QThreadPool m_pool;
    QTimer m_settle;
    bool m_running = false;
    bool m_runAgain = false;
    QString m_description;
};
