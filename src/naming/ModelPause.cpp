// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/ModelPause.h"

#include "naming/NamingLog.h"

#include <utility>

using namespace std::chrono_literals;

namespace {

constexpr auto pauseLength = 5min;

} // namespace

class ModelPause::GuardedClient final : public LocalModelClient
{
public:
    GuardedClient(ModelPause &pause, std::unique_ptr<LocalModelClient> client)
        : m_pause(pause)
        , m_client(std::move(client))
    {}

    ModelAvailability availability() override
    {
        if (m_pause.isPaused())
            return {ModelAvailability::State::NoServer, false};
        const ModelAvailability availability = m_client->availability();
        if (availability.state == ModelAvailability::State::NoServer)
            m_pause.start(QStringLiteral("not reachable"));
        else
            m_pause.noteAnswer();
        return availability;
    }

    ModelReply respond(const ModelRequest &request, std::chrono::milliseconds timeLimit) override
    {
        if (m_pause.isPaused())
            return {std::nullopt, QStringLiteral("The model server did not answer a moment ago"), true};
        ModelReply reply = m_client->respond(request, timeLimit);
        if (reply.unresponsive)
            m_pause.start(reply.error);
        else
            m_pause.noteAnswer();
        return reply;
    }

private:
    ModelPause &m_pause;
    std::unique_ptr<LocalModelClient> m_client;
};

ModelPause::ModelPause(Clock clock)
    : m_clock(std::move(clock))
{}

std::unique_ptr<LocalModelClient> ModelPause::guard(std::unique_ptr<LocalModelClient> client)
{
    return std::make_unique<GuardedClient>(*this, std::move(client));
}

bool ModelPause::isPaused() const
{
    const std::lock_guard lock(m_mutex);
    return m_until && m_clock() < *m_until;
}

void ModelPause::start(const QString &reason)
{
    const std::lock_guard lock(m_mutex);
    const auto now = m_clock();
    // Requests that were already under way when the pause began end in it without a word.
    if (m_until && now < *m_until)
        return;
    m_until = now + pauseLength;
    // A server that failed is worth an error; one that was never there (the model is on by default)
    // is said once, as information.
    if (m_hasAnswered)
        qCWarning(lcNaming).noquote()
            << QStringLiteral("The local model server is not answering (%1); naming without it for 5 minutes")
                   .arg(reason);
    else if (!std::exchange(m_toldAbsent, true))
        qCInfo(lcNaming).noquote()
            << QStringLiteral("No local model server is answering (%1), so names come from text recognition. "
                              "Start one, such as Ollama, or turn off \"Use a local AI model\" in Quillo's "
                              "settings.")
                   .arg(reason);
}

void ModelPause::noteAnswer()
{
    const std::lock_guard lock(m_mutex);
    m_hasAnswered = true;
}
