// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TextScanning.h"
#include "naming/HttpExchange.h"
#include "naming/LocalModelNamer.h"
#include "naming/OllamaModelClient.h"
#include "naming/OpenAICompatibleModelClient.h"

#include <cstdint>
#include <cstdlib>

namespace {

// What naming does with an answer: log its words on one line, then clean them into a name.
void use(const ModelReply &reply)
{
    if (reply.answer.has_value() == !reply.error.isEmpty())
        std::abort();
    if (!reply.answer)
        return;
    const ModelAnswer &answer = *reply.answer;
    if (answer.keywords.isEmpty() || answer.keywords.size() > 5)
        std::abort();
    if (TextScanning::quoted(answer.keywords.join(u'-')).contains(u'\n'))
        std::abort();
    const auto named = LocalModelNamer::suggestion(answer.keywords, answer.category,
                                                   ScreenshotCategory::Other, {}, NamingSource::LocalModel);
    if (named && (named->slug.isEmpty() || named->slug.split(u'-').size() > 5))
        std::abort();
}

} // namespace

// What a model server sends: read as a whole HTTP response, and as a body either chat API reads.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto received = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const HttpExchange::Response response = HttpExchange::readResponse(received, true);
    if (response.body.size() > received.size())
        std::abort();
    static const OllamaModelClient ollama({});
    static const OpenAICompatibleModelClient openai({});
    for (const QByteArray &body : {received, response.body}) {
        use(ollama.readAnswer(body));
        use(openai.readAnswer(body));
    }
    return 0;
}
