// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/PanelWindow.h"

#include <QPropertyAnimation>
#include <QWidget>

#include <memory>

class PreviewWindow;
class RenamePanelController;
class RenamePanelView;

// The floating window of the rename panel: frameless, above other windows, on every desktop and
// in no task bar, translucent around a painted card with a soft shadow. It places itself by the
// pointer and fades in and out when the controller says, and takes keyboard focus only while a
// name is edited. Passes what the user does to the controller. Main thread.
class RenamePanelWindow final : public QWidget, public PanelWindow
{
    Q_OBJECT

public:
    explicit RenamePanelWindow(RenamePanelController &controller);
    ~RenamePanelWindow() override;

    RenamePanelView &view() { return *m_view; }

    void present() override;
    void dismiss(std::function<void()> finished) override;
    void takeOffScreen() override;
    bool isPointerOver() const override;
    void setTakesFocus(bool takesFocus) override;
    bool isPreviewOpen() const override;
    void openPreview(const QString &filePath) override;
    void closePreview() override;
    std::optional<QString> askNewFolderName(const QString &rootTitle) override;
    std::optional<QString> chooseFolder(const QString &message, const QString &startFolder) override;
    void announce(const QString &text) override;
    CaptureContext::Panel onScreen() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectView();
    void markAsPanel();
    void fadeTo(double opacity);

    RenamePanelController &m_controller;
    RenamePanelView *m_view = nullptr;
    QPropertyAnimation m_fade;
    std::function<void()> m_fadeFinished;
    std::unique_ptr<PreviewWindow> m_preview;
    int m_openMenus = 0;
    bool m_isPresented = false;
    bool m_isClosing = false;
};
