// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RenamePanelView.h"

#include "core/TextScanning.h"
#include "ui/CapsuleButton.h"
#include "ui/DraggableThumbnail.h"
#include "ui/ElidedLabel.h"
#include "ui/LocationButton.h"
#include "ui/PanelIcons.h"
#include "ui/PanelStyle.h"
#include "ui/RenamePanelModel.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QToolButton>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

using PanelIcons::Symbol;
using State = RenamePanelItem::State;

constexpr int padding = 12;
constexpr int buttonColumnWidth = 136;
constexpr QSize thumbnailSize{76, 52};
constexpr int closeButtonSide = 22;
constexpr int progressInset = 22;
constexpr int progressBottom = 5;
constexpr int progressHeight = 3;

// What the header says about the shown item; the first matching row wins.
struct Status
{
    Symbol symbol;
    QString title;
    std::optional<QColor> tint;
    QStringList shorter = {}; // where the title does not fit beside the pager
};

Status statusOf(const RenamePanelModel &model, const QPalette &palette)
{
    const RenamePanelItem *item = model.current();
    if (model.errorMessage())
        return {Symbol::Warning, *model.errorMessage(), PanelStyle::warning(palette)};
    if (model.isEditing())
        return {Symbol::Pencil, QCoreApplication::translate("RenamePanelView", "Rename"), std::nullopt};
    if (model.isMenuOpen())
        return {Symbol::Folder, QCoreApplication::translate("RenamePanelView", "Move to"), std::nullopt};
    const QColor green = PanelStyle::success(palette);
    switch (item ? item->state : State::Renamed) {
    case State::Renamed:
        if (const int count = int(model.items().size()); count >= 2)
            return {Symbol::Checkmark,
                    QCoreApplication::translate("RenamePanelView", "%n screenshots renamed", nullptr, count),
                    green,
                    {QCoreApplication::translate("RenamePanelView", "%n renamed", nullptr, count)}};
        if (item && item->record && item->record->routedFolderName)
            return {Symbol::Checkmark, QCoreApplication::translate("RenamePanelView", "Renamed and moved"),
                    green};
        return {Symbol::Checkmark, QCoreApplication::translate("RenamePanelView", "Renamed"), green};
    case State::Updated:
        return {Symbol::Checkmark, QCoreApplication::translate("RenamePanelView", "Updated"), green};
    case State::Restored:
        break;
    }
    return {Symbol::Undo,
            QCoreApplication::translate("RenamePanelView", "Restored original name and location"),
            std::nullopt};
}

QString countdownText(const RenamePanelModel &model)
{
    if (model.isPaused())
        return QCoreApplication::translate("RenamePanelView", "Paused");
    return QCoreApplication::translate("RenamePanelView", "Closes in %1s")
        .arg(int(std::ceil(model.remaining())));
}

QString withTilde(const QString &path)
{
    const QString home = QDir::homePath();
    if (path == home || path.startsWith(home + u'/'))
        return u'~' + path.mid(home.size());
    return path;
}

// The file name: the base name in bold, the extension faint, and a pencil while the pointer is
// over the panel.
class NameButton final : public QAbstractButton
{
public:
    explicit NameButton(QWidget *parent)
        : QAbstractButton(parent)
    {
        setFocusPolicy(Qt::NoFocus);
        setFixedHeight(24);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        setToolTip(QCoreApplication::translate("RenamePanelView", "Rename"));
        setCursor(Qt::IBeamCursor);
    }

    void setName(const QString &baseName, const QString &extension, bool showPencil)
    {
        m_baseName = baseName;
        m_extension = extension;
        m_showPencil = showPencil;
        setText(baseName + extension);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QPalette colours = PanelStyle::activeColours(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QFont bold = PanelStyle::font(font(), 13, QFont::DemiBold);
        const QFontMetrics metrics(bold);
        const int pencilSide = 11;
        const int extensionWidth = metrics.horizontalAdvance(m_extension);
        const int reserved = extensionWidth + (m_showPencil ? pencilSide + 6 : 0);
        const QString base = metrics.elidedText(m_baseName, Qt::ElideMiddle, std::max(0, width() - reserved));
        const int baseWidth = metrics.horizontalAdvance(base);
        painter.setFont(bold);
        painter.setPen(isEnabled() ? colours.color(QPalette::WindowText) : PanelStyle::secondary(colours));
        painter.drawText(QRect(0, 0, baseWidth, height()), Qt::AlignVCenter | Qt::AlignLeft, base);
        painter.setPen(PanelStyle::secondary(colours));
        painter.drawText(QRect(baseWidth, 0, extensionWidth, height()), Qt::AlignVCenter | Qt::AlignLeft,
                         m_extension);
        if (m_showPencil && isEnabled()) {
            PanelIcons::icon(Symbol::Pencil, PanelStyle::secondary(colours))
                .paint(&painter, QRect(baseWidth + extensionWidth + 6, (height() - pencilSide) / 2,
                                       pencilSide, pencilSide));
        }
    }

private:
    QString m_baseName;
    QString m_extension;
    bool m_showPencil = false;
};

// The round "x" in the card's corner, shown while the pointer is over the panel.
class CloseButton final : public QAbstractButton
{
public:
    explicit CloseButton(QWidget *parent)
        : QAbstractButton(parent)
    {
        setFocusPolicy(Qt::NoFocus);
        setFixedSize(closeButtonSide, closeButtonSide);
        setToolTip(QCoreApplication::translate("RenamePanelView", "Dismiss"));
        setAccessibleName(QCoreApplication::translate("RenamePanelView", "Dismiss"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF circle = QRectF(rect()).adjusted(1.5, 1, -1.5, -2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 40));
        painter.drawEllipse(circle.translated(0, 1));
        painter.setBrush(palette().color(QPalette::Window));
        painter.setPen(QPen(PanelStyle::primary(palette(), 0.15), 0.5));
        painter.drawEllipse(circle);
        QRectF mark(0, 0, 12, 12);
        mark.moveCenter(circle.center());
        PanelIcons::icon(Symbol::Close, PanelStyle::secondary(palette())).paint(&painter, mark.toRect());
    }
};

QToolButton *pagerButton(Symbol symbol, const QString &name, const QString &label, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAccessibleName(label);
    button->setToolTip(label);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIcon(PanelIcons::icon(symbol, parent->palette().color(QPalette::WindowText)));
    button->setIconSize(QSize(10, 10));
    button->setFixedSize(14, 16);
    return button;
}

} // namespace

RenamePanelView::RenamePanelView(const RenamePanelModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setFixedSize(cardSize);
    build();
    connect(&m_model, &RenamePanelModel::changed, this, &RenamePanelView::refresh);
    connect(&m_model, &RenamePanelModel::countdownChanged, this, &RenamePanelView::refreshCountdown);
    refresh();
}

void RenamePanelView::build()
{
    m_content = new QWidget(this);
    m_content->setGeometry(rect());
    auto *row = new QHBoxLayout(m_content);
    row->setContentsMargins(padding, padding, padding, padding);
    row->setSpacing(padding);
    buildThumbnail(*row);
    auto *column = new QVBoxLayout;
    column->setSpacing(1);
    row->addLayout(column, 1);
    buildHeader(*column);
    buildNameButton(*column);
    buildEditRow(*column);
    buildLocationButton(*column);
    buildButtons(*row);
    buildCloseButton();
}

void RenamePanelView::buildThumbnail(QBoxLayout &row)
{
    m_thumbnail = new DraggableThumbnail(m_content);
    m_thumbnail->setObjectName(QStringLiteral("thumbnail"));
    m_thumbnail->setFixedSize(thumbnailSize);
    row.addWidget(m_thumbnail, 0, Qt::AlignVCenter);
    connect(m_thumbnail, &QAbstractButton::clicked, this, &RenamePanelView::previewRequested);
    connect(m_thumbnail, &DraggableThumbnail::dragStarted, this, &RenamePanelView::dragStarted);
    connect(m_thumbnail, &DraggableThumbnail::dragFinished, this, &RenamePanelView::dragFinished);
}

// The status, the pager and the countdown, in one line.
void RenamePanelView::buildHeader(QBoxLayout &column)
{
    auto *header = new QHBoxLayout;
    header->setSpacing(4);
    column.addLayout(header);
    m_statusIcon = new QLabel(m_content);
    m_statusIcon->setFixedSize(13, 13);
    header->addWidget(m_statusIcon);
    m_statusLabel = new ElidedLabel(Qt::ElideRight, m_content); // cut at the tail, never growing the panel
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setFont(PanelStyle::font(font(), 11, QFont::Medium));
    header->addWidget(m_statusLabel, 1);
    buildPager(*header);
    m_countdownLabel = new QLabel(m_content);
    m_countdownLabel->setObjectName(QStringLiteral("countdownLabel"));
    m_countdownLabel->setFont(PanelStyle::font(font(), 11, QFont::Medium));
    // Wide enough for either text, so the header does not shift when the countdown pauses.
    m_countdownLabel->setMinimumWidth(m_countdownLabel->fontMetrics().horizontalAdvance(
        QCoreApplication::translate("RenamePanelView", "Closes in %1s").arg(5)));
    m_countdownLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_countdownLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    header->addWidget(m_countdownLabel);
}

void RenamePanelView::buildPager(QBoxLayout &header)
{
    m_pager = new QWidget(m_content);
    auto *pager = new QHBoxLayout(m_pager);
    pager->setContentsMargins(0, 0, 4, 0);
    pager->setSpacing(1);
    m_previousButton =
        pagerButton(Symbol::ChevronLeft, QStringLiteral("previousButton"),
                    QCoreApplication::translate("RenamePanelView", "Previous screenshot"), m_pager);
    m_pagerLabel = new QLabel(m_pager);
    m_pagerLabel->setObjectName(QStringLiteral("pagerLabel"));
    m_pagerLabel->setFont(PanelStyle::font(font(), 11, QFont::Medium));
    m_nextButton = pagerButton(Symbol::ChevronRight, QStringLiteral("nextButton"),
                               QCoreApplication::translate("RenamePanelView", "Next screenshot"), m_pager);
    pager->addWidget(m_previousButton);
    pager->addWidget(m_pagerLabel);
    pager->addWidget(m_nextButton);
    header.addWidget(m_pager);
    connect(m_previousButton, &QToolButton::clicked, this, &RenamePanelView::previousRequested);
    connect(m_nextButton, &QToolButton::clicked, this, &RenamePanelView::nextRequested);
}

void RenamePanelView::buildNameButton(QBoxLayout &column)
{
    m_nameButton = new NameButton(m_content);
    m_nameButton->setObjectName(QStringLiteral("nameButton"));
    column.addWidget(m_nameButton);
    connect(m_nameButton, &QAbstractButton::clicked, this, &RenamePanelView::beginEditingRequested);
}

// The name field and the extension, which stays out of the edit; shown in place of the name.
void RenamePanelView::buildEditRow(QBoxLayout &column)
{
    m_editRow = new QWidget(m_content);
    m_editRow->setFixedHeight(24);
    auto *editRow = new QHBoxLayout(m_editRow);
    editRow->setContentsMargins(0, 1, 0, 1);
    editRow->setSpacing(2);
    m_nameEdit = new QLineEdit(m_editRow);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setPlaceholderText(QCoreApplication::translate("RenamePanelView", "File name"));
    m_nameEdit->setFont(PanelStyle::font(font(), 13, QFont::DemiBold));
    m_nameEdit->setFixedHeight(22);
    m_nameEdit->setStyleSheet(QStringLiteral(
        "QLineEdit { border: 1px solid palette(highlight); border-radius: 5px;" // not for people: style
        " background: palette(base); padding: 0 3px; }"));
    m_nameEdit->installEventFilter(this);
    m_extensionLabel = new QLabel(m_editRow);
    m_extensionLabel->setFont(PanelStyle::font(font(), 13, QFont::DemiBold));
    QPalette faint = m_extensionLabel->palette();
    faint.setColor(QPalette::WindowText, PanelStyle::secondary(palette()));
    m_extensionLabel->setPalette(faint);
    editRow->addWidget(m_nameEdit, 1);
    editRow->addWidget(m_extensionLabel);
    column.addWidget(m_editRow);
    connect(m_nameEdit, &QLineEdit::textEdited, this, &RenamePanelView::draftEdited);
    connect(m_nameEdit, &QLineEdit::returnPressed, this, &RenamePanelView::commitNameRequested);
}

void RenamePanelView::buildLocationButton(QBoxLayout &column)
{
    m_locationButton = new LocationButton(m_content);
    m_locationButton->setObjectName(QStringLiteral("locationButton"));
    m_locationMenu = new QMenu(m_locationButton);
    m_locationMenu->setObjectName(QStringLiteral("locationMenu"));
    m_locationButton->setMenu(m_locationMenu);
    connect(m_locationMenu, &QMenu::aboutToShow, this, &RenamePanelView::fillLocationMenu);
    column.addWidget(m_locationButton, 0, Qt::AlignLeft);
}

// Show in Folder and Undo, or Save and Cancel while a name is edited.
void RenamePanelView::buildButtons(QBoxLayout &row)
{
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    const auto addButton = [&](const QString &name, const QString &text, std::optional<Symbol> symbol,
                               bool prominent, void (RenamePanelView::*signal)()) {
        auto *button = new CapsuleButton(text, symbol, prominent, m_content);
        button->setObjectName(name);
        button->setFixedWidth(buttonColumnWidth);
        buttons->addWidget(button);
        connect(button, &QAbstractButton::clicked, this, signal);
        return button;
    };
    m_revealButton = addButton(QStringLiteral("revealButton"),
                               QCoreApplication::translate("RenamePanelView", "Show in Folder"),
                               Symbol::Reveal, false, &RenamePanelView::revealRequested);
    m_undoButton =
        addButton(QStringLiteral("undoButton"), QCoreApplication::translate("RenamePanelView", "Undo"),
                  Symbol::Undo, false, &RenamePanelView::undoRequested);
    m_saveButton =
        addButton(QStringLiteral("saveButton"), QCoreApplication::translate("RenamePanelView", "Save"),
                  std::nullopt, true, &RenamePanelView::commitNameRequested);
    m_cancelButton =
        addButton(QStringLiteral("cancelButton"), QCoreApplication::translate("RenamePanelView", "Cancel"),
                  std::nullopt, false, &RenamePanelView::cancelEditingRequested);
    buttons->addStretch();
    row.addLayout(buttons);
}

// Floats over the card's corner, outside the layouts: it comes and goes with the pointer.
void RenamePanelView::buildCloseButton()
{
    m_closeButton = new CloseButton(this);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    m_closeButton->move(2, 2);
    connect(m_closeButton, &QAbstractButton::clicked, this, &RenamePanelView::dismissRequested);
}

void RenamePanelView::refresh()
{
    const RenamePanelItem *item = m_model.current();
    m_content->setVisible(item);
    m_closeButton->setVisible(item && m_model.isHovered());
    if (!item) {
        refreshEditing(false);
        return;
    }
    const Status status = statusOf(m_model, palette());
    m_statusIcon->setPixmap(
        PanelIcons::icon(status.symbol, status.tint.value_or(PanelStyle::secondary(palette())))
            .pixmap(m_statusIcon->size(), devicePixelRatio()));
    m_statusLabel->setText(status.title);
    static_cast<ElidedLabel *>(m_statusLabel)->setShorterTexts(status.shorter);
    m_statusLabel->setToolTip(status.title);
    QPalette statusPalette = m_statusLabel->palette();
    statusPalette.setColor(QPalette::WindowText, status.tint && m_model.errorMessage()
                                                     ? *status.tint
                                                     : palette().color(QPalette::WindowText));
    m_statusLabel->setPalette(statusPalette);

    const auto count = m_model.items().size();
    m_pager->setVisible(count >= 2);
    m_previousButton->setEnabled(m_model.index() > 0);
    m_nextButton->setEnabled(m_model.index() < count - 1);
    m_pagerLabel->setText(
        QCoreApplication::translate("RenamePanelView", "%1 of %2").arg(m_model.index() + 1).arg(count));

    const bool hasRecord = item->record.has_value();
    static_cast<NameButton *>(m_nameButton)
        ->setName(item->baseName(), item->displayExtension(), m_model.isHovered());
    m_nameButton->setEnabled(hasRecord);
    m_extensionLabel->setText(item->displayExtension());
    static_cast<LocationButton *>(m_locationButton)
        ->setLocation(m_model.location(item->path), m_model.isMenuOpen());
    m_locationButton->setEnabled(hasRecord);
    m_locationButton->setToolTip(withTilde(QFileInfo(item->path).absolutePath()));
    m_undoButton->setVisible(hasRecord && !m_model.isEditing());

    m_thumbnail->setImage(item->thumbnail);
    m_thumbnail->setFilePath(item->path);
    m_thumbnail->setAccessibleName(
        QCoreApplication::translate("RenamePanelView", "Preview %1").arg(QFileInfo(item->path).fileName()));
    refreshEditing(m_model.isEditing());
    refreshCountdown();
}

void RenamePanelView::refreshEditing(bool editing)
{
    m_nameButton->setVisible(!editing);
    m_editRow->setVisible(editing);
    m_revealButton->setVisible(!editing);
    m_saveButton->setVisible(editing);
    m_cancelButton->setVisible(editing);
    if (editing && m_nameEdit->text() != m_model.draft())
        m_nameEdit->setText(m_model.draft());
    if (editing && !m_wasEditing) {
        m_nameEdit->selectAll();
        // The window takes focus first; the field then takes the keystrokes.
        QTimer::singleShot(0, m_nameEdit, [edit = m_nameEdit] {
            edit->setFocus(Qt::OtherFocusReason);
        });
    }
    m_wasEditing = editing;
}

void RenamePanelView::refreshCountdown()
{
    m_countdownLabel->setText(countdownText(m_model));
    update();
}

void RenamePanelView::fillLocationMenu()
{
    m_locationMenu->clear();
    qDeleteAll(m_locationMenu->findChildren<QActionGroup *>(Qt::FindDirectChildrenOnly));
    const RenamePanelItem *item = m_model.current();
    if (!item)
        return;
    // The file lies in exactly one of them.
    auto *folders = new QActionGroup(m_locationMenu);
    const auto addChoice = [&](const FolderChoice &choice) {
        QAction *action = m_locationMenu->addAction(TextScanning::escapedMnemonics(choice.title));
        action->setCheckable(true);
        action->setActionGroup(folders);
        const bool isHere = RenamePanelModel::isIn(choice, item->path);
        action->setChecked(isHere);
        connect(action, &QAction::triggered, this, [this, isHere, folder = choice.path] {
            if (!isHere)
                emit moveRequested(folder);
        });
    };
    if (m_model.rootChoice())
        addChoice(*m_model.rootChoice());
    if (!m_model.subfolderChoices().isEmpty()) {
        m_locationMenu->addSection(QCoreApplication::translate("RenamePanelView", "Subfolders"));
        for (const FolderChoice &choice : m_model.subfolderChoices())
            addChoice(choice);
    }
    m_locationMenu->addSeparator();
    m_locationMenu->addAction(QCoreApplication::translate("RenamePanelView", "New Folder…"), this,
                              &RenamePanelView::newFolderRequested);
    m_locationMenu->addAction(QCoreApplication::translate("RenamePanelView", "Choose Another Folder…"), this,
                              &RenamePanelView::chooseFolderRequested);
}

bool RenamePanelView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_nameEdit && m_model.isEditing()) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            emit cancelEditingRequested();
            return true;
        }
        if (event->type() == QEvent::FocusOut)
            emit commitNameRequested();
    }
    return QWidget::eventFilter(watched, event);
}

void RenamePanelView::paintEvent(QPaintEvent *)
{
    if (!m_model.current())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(progressInset, height() - progressBottom - progressHeight, width() - 2 * progressInset,
                       progressHeight);
    const double radius = progressHeight / 2.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(PanelStyle::primary(palette(), 0.08));
    painter.drawRoundedRect(track, radius, radius);
    const double fraction = std::clamp(m_model.remaining() / RenamePanelModel::countdownSeconds, 0.0, 1.0);
    if (fraction <= 0)
        return;
    QColor fill = PanelStyle::accent(palette());
    fill.setAlphaF(m_model.isPaused() ? 0.35f : 0.8f);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(track.topLeft(), QSizeF(track.width() * fraction, progressHeight)), radius,
                            radius);
}
