// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/ModelAvailabilityMonitor.h"

#include "naming/HttpModelClient.h"
#include "naming/LocalModelNamer.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QtConcurrent>

using namespace std::chrono_literals;

namespace {

// Typing an address changes it once per key; the server is asked once the typing pauses.
constexpr auto settleTime = 500ms;

} // namespace

ModelAvailabilityMonitor::ModelAvailabilityMonitor(SettingsStore &settings, Probe probe, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_probe(std::move(probe))
    , m_description(QCoreApplication::translate("ModelAvailabilityMonitor", "Looking for a local AI model…"))
{
    m_pool.setMaxThreadCount(1);
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleTime);
    connect(&m_settle, &QTimer::timeout, this, &ModelAvailabilityMonitor::refresh);
    connect(&m_settings, &SettingsStore::localModelUrlChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_settings, &SettingsStore::localModelNameChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_settings, &SettingsStore::localModelApiChanged, &m_settle, qOverload<>(&QTimer::start));
}

ModelAvailabilityMonitor::Probe ModelAvailabilityMonitor::localServerProbe()
{
    return [](const ModelServer &server) {
        return HttpModelClient::create(server)->availability();
    };
}

void ModelAvailabilityMonitor::refresh()
{
    m_settle.stop();
    if (m_running)
        m_runAgain = true;
    else
        start();
}

void ModelAvailabilityMonitor::start()
{
    m_running = true;
    m_runAgain = false;
    const QString url = m_settings.localModelUrl();
    const QString model = m_settings.localModelName();
    const ModelServer server = ModelServer::fromSettings(m_settings);
    if (const auto problem = server.problem()) {
        m_running = false;
        m_description = *problem;
        emit descriptionChanged(m_description);
        return;
    }
    auto *watcher = new QFutureWatcher<ModelAvailability>(this);
    connect(watcher, &QFutureWatcher<ModelAvailability>::finished, this, [this, watcher, url, model] {
        watcher->deleteLater();
        finished(watcher->result(), url, model);
    });
    // The probe owns copies of everything it uses, so it may outlive this object.
    watcher->setFuture(QtConcurrent::run(&m_pool, [probe = m_probe, server] {
        return probe(server);
    }));
}

void ModelAvailabilityMonitor::finished(const ModelAvailability &availability, const QString &url,
                                        const QString &model)
{
    m_running = false;
    if (m_runAgain) {
        start();
        return;
    }
    m_description = LocalModelNamer::availabilityDescription(availability, model, url);
    emit descriptionChanged(m_description);
}
