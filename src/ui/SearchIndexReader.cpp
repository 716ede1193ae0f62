// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SearchIndexReader.h"

#include <QFileInfo>

SearchIndexReader::SearchIndexReader(QString filePath, QObject *parent)
    : QObject(parent)
    , m_index(std::make_shared<ScreenshotIndex>(std::move(filePath)))
{
    m_thread.setMaxThreadCount(1);
}

SearchIndexReader::~SearchIndexReader()
{
    m_thread.waitForDone();
}

void SearchIndexReader::search(quint64 id, const QString &words, int limit)
{
    m_thread.start([this, index = m_index, id, words, limit] {
        ScreenshotIndex::Found result;
        if (QFileInfo::exists(index->filePath()))
            result = index->search(words, limit);
        // Posted to this object's thread; dropped if the object is gone by then.
        QMetaObject::invokeMethod(this, [this, id, result] {
            emit found(id, result);
        });
    });
}

void SearchIndexReader::measure()
{
    m_thread.start([this, index = m_index] {
        const ScreenshotIndex::Size size =
            QFileInfo::exists(index->filePath()) ? index->size() : ScreenshotIndex::Size{};
        QMetaObject::invokeMethod(this, [this, size] {
            emit measured(size);
        });
    });
}
