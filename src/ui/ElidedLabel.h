// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// One line of text that never widens its layout: what does not fit is cut with an ellipsis where
// `mode` says, at paint time, so text() stays whole. Main thread.
class ElidedLabel final : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(Qt::TextElideMode mode, QWidget *parent = nullptr);

    void setElideMode(Qt::TextElideMode mode);
    QSize minimumSizeHint() const override;
    // Shorter forms of the text, longest first, shown whole when the text itself does not fit.
    void setShorterTexts(const QStringList &texts);
    // What is drawn in `width` pixels: the text or the first shorter form that fits, else cut.
    QString shownText(int width) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::TextElideMode m_mode;
    QStringList m_shorter;
};
