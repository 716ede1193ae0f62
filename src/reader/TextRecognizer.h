// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reader/ScreenshotImage.h"
#include "reading/ReadingResults.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

// Reads the text lines of a screenshot with Tesseract, in the wanted languages whose data is installed
// (see RecognitionLanguages). Owns one engine, started once in the constructor (about 0.2 s and 18 MB) and
// reused for every file, and one more for each further core a file may be read on (setThreads). One
// object is never used from two threads, and never from an interface thread: a screenshot takes a
// quarter of a second to a few seconds.
// The program must link quillo_reader's SerialOpenMp entry points (linking the library does that):
// Tesseract's own OpenMP threads would make it several times slower on a small machine.
class TextRecognizer final
{
public:
    // Each file gets this much processor time for decoding and recognition together, on all the cores
    // it is read on, so waiting for a core on a busy machine costs none of it.
    static constexpr std::chrono::milliseconds defaultTimeBudget = Reading::timeBudget;

    // `wanted` as RecognitionLanguages::wanted() gives it; English by default.
    explicit TextRecognizer(const QStringList &wanted = {QStringLiteral("eng")});
    ~TextRecognizer();
    TextRecognizer(const TextRecognizer &) = delete;
    TextRecognizer &operator=(const TextRecognizer &) = delete;

    // The loaded languages as Tesseract names them ("eng", "deu+eng"); empty when the engine could not
    // start, in which case every recognition reports that as its error.
    QString languages() const { return m_languages; }
    const QStringList &wanted() const { return m_wanted; }
    void setTimeBudget(std::chrono::milliseconds budget) { m_timeBudget = budget; }
    // How many cores one file may be read on. The pieces of its lines are shared among them, and give
    // the same lines however many read them; each core past the first costs an engine of its own.
    void setThreads(int threads);
    static constexpr int maximumThreads = 4;

    // Lines in the engine's reading order; see RecognizedLine for the box convention. Nothing is
    // filtered: low-confidence lines are kept. A file over the memory or time budget gives an error.
    RecognitionResult recognizeLines(const QString &filePath);
    // The same for a file's bytes, decoded as its extension says (see ScreenshotImage::decode).
    RecognitionResult recognizeData(const QByteArray &bytes, const QString &extension);

private:
    static QString unavailable();
    RecognitionResult recognize(ScreenshotImage::Decoded decoded, const ProcessorDeadline &deadline);
    void startHelpers();

    std::unique_ptr<tesseract::TessBaseAPI> m_engine;
    std::vector<std::unique_ptr<tesseract::TessBaseAPI>> m_helpers; // for the cores past the first
    int m_threads = 1;
    QString m_folder;
    QStringList m_wanted;
    QString m_languages;
    std::chrono::milliseconds m_timeBudget = defaultTimeBudget;
};
