// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/CaptureContext.h"
#include "naming/LocalModelClient.h"
#include "naming/NamingSuggestion.h"
#include "naming/ScreenLayout.h"
#include "settings/ScreenshotCategory.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

// Asks the local model for 3 to 5 keywords and a folder category and turns its answer into a name
// that obeys the same word rules as the heuristics. Stateless; the requests block, so everything that
// takes a LocalModelClient runs on a naming worker thread.
namespace LocalModelNamer {

// What the model is asked about one screenshot. The caller builds the text prompt and the known
// names from the laid-out recognised text.
struct Question
{
    QString prompt;                // the text prompt
    CaptureContext context;        // for the words that go with the image
    QList<QStringList> knownNames; // multi-word names that really occur on the screen, as words
    // Loads the screenshot for the model to look at; only called when the model has vision.
    // Empty: no image is offered. A null image counts as unreadable.
    std::function<QImage()> loadImage;
};

// Everything read from one screenshot that the prompt is built from.
struct OCRSnapshot
{
    ScreenLayout layout; // the same the heuristic name came from
    CaptureContext context;
    std::optional<QString> imagePath;
};

// The text prompt: app, window title, selected sidebar item, featured names, then the main content's
// headings and body and the background, each section cut to a fixed length.
QString prompt(const OCRSnapshot &snapshot);

// Multi-word names that really occur on the screen (featured names, the selected sidebar item and
// the window title), as words; a generated keyword containing one may keep "screen" and the like.
QList<QStringList> knownNames(const OCRSnapshot &snapshot);

struct TimeLimits
{
    std::chrono::milliseconds image{25'000};
    std::chrono::milliseconds text{20'000};
};

// The system instructions every request carries (872 characters).
const QString &instructions();

// The JSON schema the answer is generated under, as compact JSON text. Kept as text because the model
// generates properties in the order written: keywords first, then the category.
const QByteArray &generationSchema();

// The text that goes with the image.
QString imagePrompt(const CaptureContext &context);

// Cleans generated keywords with the word rules: hash numbers, dotted versions, long numbers, noise,
// stop words and "pr" go. File-description words such as "screen" stay inside a keyword that
// contains a known name. Absent when fewer than two distinct words remain.
std::optional<NamingSuggestion> suggestion(const QStringList &keywords, const QString &categoryName,
                                           ScreenshotCategory fallbackCategory,
                                           const QList<QStringList> &knownNames, NamingSource source);

// A raw value ("web"), or the first word of a default folder name ("Receipts & Invoices", "ui").
std::optional<ScreenshotCategory> category(const QString &name);

// The sentence the settings window shows about the local model.
QString availabilityDescription(const ModelAvailability &availability, const QString &modelName,
                                const QString &baseUrl);

// One text request; failures are logged and come back absent.
std::optional<ModelAnswer> respond(LocalModelClient &client, const QString &prompt,
                                   std::chrono::milliseconds timeLimit);

// One image request; absent without vision, without a readable image, or on failure (all logged).
std::optional<ModelAnswer> respondLookingAtImage(LocalModelClient &client, bool hasVision,
                                                 const std::function<QImage()> &loadImage,
                                                 const CaptureContext &context,
                                                 std::chrono::milliseconds timeLimit);

// Call only when the client reported the model available. Looks at the image first (when offered
// and the model has vision), then falls back to the text prompt. Absent when neither gives at least
// two usable words; the caller then keeps the heuristic name.
std::optional<NamingSuggestion> suggest(LocalModelClient &client, const ModelAvailability &availability,
                                        const Question &question, ScreenshotCategory fallbackCategory,
                                        const TimeLimits &limits = {});

} // namespace LocalModelNamer
