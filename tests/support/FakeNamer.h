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
    // With an answer set, every request is answered at once.
    std::optional<NamingSuggestion> immediateAnswer;
    // What each request was asked with, oldest first.
    QList<CaptureContext> contexts;
    int preparations = 0;

    void prepare() override { ++preparations; }

    QFuture<NamingResult> suggestName(const QString &, const CaptureContext &context,
                                      const RoutingConfiguration &) override
    {
        contexts.append(context);
        auto promise = std::make_shared<QPromise<NamingResult>>();
        promise->start();
        QFuture<NamingResult> future = promise->future();
        if (immediateAnswer)
            answer(*promise, *immediateAnswer);
        else
            m_pending.append(promise);
        return future;
    }

    qsizetype pendingCount() const { return m_pending.size(); }

    // Answers the oldest unanswered request.
    void answerNext(const NamingSuggestion &suggestion) { answer(*m_pending.takeFirst(), suggestion); }

    void answerAll(const NamingSuggestion &suggestion)
    {
        while (!m_pending.isEmpty())
            answerNext(suggestion);
    }

private:
    static void answer(QPromise<NamingResult> &promise, const NamingSuggestion &suggestion)
    {
        promise.addResult(NamingResult{.suggestion = suggestion});
        promise.finish();
    }

    QList<std::shared_ptr<QPromise<NamingResult>>> m_pending;
};
