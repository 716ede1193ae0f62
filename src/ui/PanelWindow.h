#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>

// What the rename panel's controller needs from the window system: the panel window itself, the
// preview window and the dialogs. The real one is RenamePanelWindow. Main thread.
class PanelWindow
{
public:
    struct Screen
    {
        QRect geometry;
        QRect available; // without panels and docks
    };

    virtual ~PanelWindow() = default;

    virtual QPoint pointerPosition() const = 0;
    // The primary screen first.
    virtual QList<Screen> screens() const = 0;
    virtual QRect frame() const = 0;
    virtual void moveTo(const QPoint &origin) = 0;
    // Raises the panel without taking focus and fades it in; stops a fade-out under way.
    virtual void fadeIn() = 0;
    // `finished` runs once the panel is fully transparent, unless a fade-in came first.
    virtual void fadeOut(std::function<void()> finished) = 0;
    virtual void takeOffScreen() = 0;
    // The panel takes keyboard focus only while a name is edited.
    virtual void setTakesFocus(bool takesFocus) = 0;

    virtual bool isPreviewOpen() const = 0;
    virtual void openPreview(const QString &filePath) = 0;
    virtual void closePreview() = 0;

    // Modal; nothing when cancelled.
    virtual std::optional<QString> askNewFolderName(const QString &rootTitle) = 0;
    virtual std::optional<QString> chooseFolder(const QString &message, const QString &startFolder) = 0;

    // For screen readers.
    virtual void announce(const QString &text) = 0;
};
