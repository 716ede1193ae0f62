// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/FakeWebServer.h"

#include <QStringList>

// A local model server on loopback that speaks both chat APIs, as some real ones do: /api/tags,
// /api/show and /api/chat, and /v1/models and /v1/chat/completions. Everything FakeWebServer offers
// (request records, late or huge answers) applies to these paths.
class FakeModelServer final : public FakeWebServer
{
    Q_OBJECT

public:
    explicit FakeModelServer(Transport transport = Transport::Http, QObject *parent = nullptr);

    QUrl baseUrl() const { return url(); }
    // What both model lists hold.
    void setModels(const QStringList &names) { m_models = names; }
    // What /api/show reports for any model, and the /v1 list's "capabilities" of each model.
    void setCapabilities(const QStringList &capabilities) { m_capabilities = capabilities; }
    // The generated text of successive chat answers, either API; the last one repeats.
    void setChatContents(const QList<QByteArray> &contents) { m_chatContents = contents; }

private:
    QString nextChatContent();

    QStringList m_models;
    QStringList m_capabilities;
    QList<QByteArray> m_chatContents;
    qsizetype m_chatCount = 0;
};
