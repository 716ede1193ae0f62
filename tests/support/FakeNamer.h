// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/ScreenshotNaming.h"

#include <QList>
#include <QPromise>

#include <memory>
#include <optional>

// A namer that answers when the test says so, or at once with a fixed answer.
class FakeNamer final : public ScreenshotNaming
{
public:
    struct Request
    {
        QString filePath;
        CaptureContext context;
        RoutingConfiguration configuration;
    };

    // With an answer set, every request is answered at once.
    std::optional<NamingResult> immediateAnswer;

    QFuture<NamingResult> suggestName(const QString &filePath, const CaptureContext &context,
                                      const RoutingConfiguration &configuration) override
    {
        m_requests.append({filePath, context, configuration});
        auto promise = std::make_shared<QPromise<NamingResult>>();
        promise->start();
        QFuture<NamingResult> future = promise->future();
        if (immediateAnswer) {
            promise->addResult(*immediateAnswer);
            promise->finish();
        } else {
            m_pending.append(promise);
        }
        return future;
    }

    const QList<Request> &requests() const { return m_requests; }
    qsizetype pendingCount() const { return m_pending.size(); }

    // Answers the oldest unanswered request.
    void answerNext(const NamingResult &result)
    {
        auto promise = m_pending.takeFirst();
        promise->addResult(result);
        promise->finish();
    }
    void answerNext(const NamingSuggestion &suggestion)
    {
        answerNext(NamingResult{.suggestion = suggestion});
    }

    void answerAll(const NamingSuggestion &suggestion)
    {
        while (!m_pending.isEmpty())
            answerNext(suggestion);
    }

private:
    QList<Request> m_requests;
    QList<std::shared_ptr<QPromise<NamingResult>>> m_pending;
};
