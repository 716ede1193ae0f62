// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsWindow.h"

#include "naming/ModelAvailabilityMonitor.h"
#include "reading/RecognitionLanguages.h"
#include "settings/SettingsStore.h"
#include "ui/CategoryRuleRow.h"
#include "ui/SearchIndexReader.h"
#include "ui/SettingsPresentation.h"
#include "ui/SettingsWidgets.h"
#include "ui/XdgAutostart.h"
#include "update/BuildConfiguration.h"
#include "update/SoftwareUpdates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimeZone>
#include <QVBoxLayout>

using SettingsWidgets::errorLabel;
using SettingsWidgets::noteLabel;

namespace {

constexpr int windowWidth = 560;
constexpr int margin = 16;
// Room left on the screen for the window's title bar and a panel of the desktop.
constexpr int titleBarAllowance = 48;
constexpr int shortestHeight = 320;

// One line, shortened in the middle so both ends of a long path stay visible; the whole path is the
// tool tip.
class ElidedLabel final : public QLabel
{
public:
    using QLabel::QLabel;

    void setFullText(const QString &text)
    {
        m_fullText = text;
        setToolTip(text);
        elide();
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
    QSize sizeHint() const override { return {0, QLabel::sizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide() { setText(fontMetrics().elidedText(m_fullText, Qt::ElideMiddle, width())); }

    QString m_fullText;
};

template <typename Widget> Widget *named(Widget *widget, const char *objectName)
{
    widget->setObjectName(QLatin1String(objectName));
    return widget;
}

QGroupBox *section(const QString &title, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(box);
    layout->setSpacing(6);
    return box;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QHBoxLayout;
    for (QWidget *widget : widgets) {
        if (widget)
            layout->addWidget(widget);
        else
            layout->addStretch();
    }
    return layout;
}

void showProblem(QLabel *label, const std::optional<QString> &problem)
{
    label->setText(problem.value_or(QString()));
    label->setVisible(problem.has_value());
}

} // namespace

SettingsWindow::SettingsWindow(SettingsWindowServices services, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_services(services)
{
    setWindowTitle(QCoreApplication::translate("SettingsWindow", "Quillo Settings"));
    auto *content = new QWidget(this);
    content->setFixedWidth(windowWidth);
    auto *sections = new QVBoxLayout(content);
    sections->setContentsMargins(margin, margin, margin, margin);
    sections->setSpacing(12);
    sections->addWidget(folderSection());
    sections->addWidget(namingSection());
    sections->addWidget(routingSection());
    sections->addWidget(searchSection());
    sections->addWidget(generalSection());
    sections->addWidget(updatesSection());
    // On a short screen the sections scroll rather than push the window's lower part off the screen.
    m_scrollArea = named(new QScrollArea(this), "sectionsScrollArea");
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setWidget(content);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scrollArea);
    content->installEventFilter(this);
    fitToContent();

    connectStore();
    showFolder();
    showExample();
    showModelServer();
    showRouting();
    showLaunchAtLogin();
    showSearch();
}

SettingsWindow::~SettingsWindow() = default;

QWidget *SettingsWindow::folderSection()
{
    QGroupBox *box = section(QCoreApplication::translate("SettingsWindow", "Screenshot Folder"), this);
    auto *layout = static_cast<QVBoxLayout *>(box->layout());
    auto *watched = named(new ElidedLabel(box), "watchedFolderLabel");
    watched->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_watchedFolder = watched;
    auto *watchingRow =
        row({new QLabel(QCoreApplication::translate("SettingsWindow", "Watching"), box), m_watchedFolder});
    watchingRow->setStretch(1, 1);
    layout->addLayout(watchingRow);
    m_folderSource = named(noteLabel(box), "folderSourceLabel");
    layout->addWidget(m_folderSource);

    m_folderAccessRow = named(new QWidget(box), "folderAccessRow");
    auto *icon = new QLabel(m_folderAccessRow);
    const int iconSize = fontMetrics().height();
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(iconSize, iconSize));
    auto *warning = noteLabel(m_folderAccessRow);
    warning->setForegroundRole(QPalette::WindowText);
    warning->setText(QCoreApplication::translate(
        "SettingsWindow", "Quillo needs your permission to rename screenshots in this folder."));
    auto *grant = named(new QPushButton(QCoreApplication::translate("SettingsWindow", "Grant Folder Access…"),
                                        m_folderAccessRow),
                        "grantFolderAccessButton");
    connect(grant, &QPushButton::clicked, this, &SettingsWindow::grantFolderAccessRequested);
    auto *accessLayout = row({icon, warning, grant});
    accessLayout->setContentsMargins(0, 0, 0, 0);
    accessLayout->setStretch(1, 1);
    m_folderAccessRow->setLayout(accessLayout);
    layout->addWidget(m_folderAccessRow);

    auto *choose =
        named(new QPushButton(QCoreApplication::translate("SettingsWindow", "Choose Custom Folder…"), box),
              "chooseCustomFolderButton");
    m_useSystemDefault =
        named(new QPushButton(QCoreApplication::translate("SettingsWindow", "Use System Default"), box),
              "useSystemDefaultButton");
    auto *reveal =
        named(new QPushButton(QCoreApplication::translate("SettingsWindow", "Show in Folder"), box),
              "showInFolderButton");
    connect(choose, &QPushButton::clicked, this, &SettingsWindow::chooseFolderRequested);
    connect(m_useSystemDefault, &QPushButton::clicked, this, [this] {
        m_services.settings.setCustomFolderPath(std::nullopt);
    });
    connect(reveal, &QPushButton::clicked, this, &SettingsWindow::openWatchedFolderRequested);
    layout->addLayout(row({choose, m_useSystemDefault, nullptr, reveal}));
    return box;
}

QWidget *SettingsWindow::namingSection()
{
    SettingsStore &settings = m_services.settings;
    QGroupBox *box = section(QCoreApplication::translate("SettingsWindow", "Naming"), this);
    auto *layout = static_cast<QVBoxLayout *>(box->layout());
    m_appendDateSuffix = named(
        new QCheckBox(QCoreApplication::translate("SettingsWindow", "Append date suffix (-YYYY-MM-DD)"), box),
        "appendDateSuffixCheckBox");
    connect(m_appendDateSuffix, &QCheckBox::clicked, &settings, &SettingsStore::setAppendDateSuffix);
    layout->addWidget(m_appendDateSuffix);
    m_example = named(noteLabel(box), "exampleLabel");
    m_example->setWordWrap(false);
    m_example->setFont(SettingsWidgets::calloutFont(QFontDatabase::systemFont(QFontDatabase::FixedFont)));
    m_example->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addLayout(
        row({new QLabel(QCoreApplication::translate("SettingsWindow", "Example"), box), m_example, nullptr}));

    m_useLocalModel =
        named(new QCheckBox(
                  QCoreApplication::translate("SettingsWindow", "Use a local AI model when available"), box),
              "useLocalModelCheckBox");
    connect(m_useLocalModel, &QCheckBox::clicked, &settings, &SettingsStore::setUseLocalModel);
    layout->addWidget(m_useLocalModel);
    m_availability = named(noteLabel(box), "modelAvailabilityLabel");
    m_availability->setText(m_services.modelAvailability.description());
    connect(&m_services.modelAvailability, &ModelAvailabilityMonitor::descriptionChanged, m_availability,
            &QLabel::setText);
    layout->addWidget(m_availability);
    // The data folder is read when the window is made; installing a package needs a restart anyway.
    const QString missingLanguages = RecognitionLanguages::missingDataNotice(
        RecognitionLanguages::current(settings.recognitionLanguages()),
        RecognitionLanguages::Wording::Translated);
    auto *languages = named(noteLabel(box), "recognitionLanguagesLabel");
    languages->setForegroundRole(QPalette::WindowText);
    showProblem(languages, missingLanguages.isEmpty() ? std::nullopt : std::optional(missingLanguages));
    layout->addWidget(languages);

    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_modelApi = named(new QComboBox(box), "modelApiComboBox");
    // In the order of LocalModelApi.
    m_modelApi->addItems(
        {QCoreApplication::translate("SettingsWindow", "Ollama"), QStringLiteral("OpenAI-compatible")});
    m_modelApi->setCurrentIndex(int(settings.localModelApi()));
    m_modelServer = named(new QLineEdit(settings.localModelUrl(), box), "modelServerLineEdit");
    m_modelServerProblem = named(errorLabel(box), "modelServerProblemLabel");
    m_remoteWarning = named(noteLabel(box), "remoteModelWarningLabel");
    m_remoteWarning->setForegroundRole(QPalette::WindowText);
    m_modelName = named(new QLineEdit(settings.localModelName(), box), "modelNameLineEdit");
    m_modelNameProblem = named(errorLabel(box), "modelNameProblemLabel");
    auto *serverColumn = new QVBoxLayout;
    serverColumn->addWidget(m_modelServer);
    serverColumn->addWidget(m_modelServerProblem);
    serverColumn->addWidget(m_remoteWarning);
    auto *nameColumn = new QVBoxLayout;
    nameColumn->addWidget(m_modelName);
    nameColumn->addWidget(m_modelNameProblem);
    form->addRow(QCoreApplication::translate("SettingsWindow", "Server API"), m_modelApi);
    form->addRow(QCoreApplication::translate("SettingsWindow", "Model server"), serverColumn);
    form->addRow(QCoreApplication::translate("SettingsWindow", "Model"), nameColumn);
    layout->addLayout(form);
    connect(m_modelApi, &QComboBox::activated, &settings, [&settings](int index) {
        settings.setLocalModelApi(LocalModelApi(index));
    });
    connect(m_modelServer, &QLineEdit::textEdited, this, &SettingsWindow::modelServerEdited);
    connect(m_modelName, &QLineEdit::textEdited, this, &SettingsWindow::modelNameEdited);
    return box;
}

QWidget *SettingsWindow::routingSection()
{
    SettingsStore &settings = m_services.settings;
    QGroupBox *box = section(QCoreApplication::translate("SettingsWindow", "Folder Routing"), this);
    auto *layout = static_cast<QVBoxLayout *>(box->layout());
    m_folderRouting = named(
        new QCheckBox(QCoreApplication::translate("SettingsWindow", "Route into category subfolders"), box),
        "folderRoutingCheckBox");
    connect(m_folderRouting, &QCheckBox::clicked, &settings, &SettingsStore::setFolderRoutingEnabled);
    layout->addWidget(m_folderRouting);
    for (const CategoryRule &rule : settings.routing().rules) {
        auto *ruleRow = new CategoryRuleRow(rule, box);
        connect(ruleRow, &CategoryRuleRow::ruleEdited, this, [&settings](const CategoryRule &edited) {
            settings.setRouting(SettingsPresentation::withRule(settings.routing(), edited));
        });
        m_ruleRows.push_back(ruleRow);
        layout->addWidget(ruleRow);
    }
    m_restoreDefaults =
        named(new QPushButton(QCoreApplication::translate("SettingsWindow", "Restore Default Folders"), box),
              "restoreDefaultFoldersButton");
    connect(m_restoreDefaults, &QPushButton::clicked, &settings, [&settings] {
        settings.setRouting(RoutingConfiguration::defaultConfiguration());
    });
    layout->addLayout(row({nullptr, m_restoreDefaults}));
    QLabel *note = noteLabel(box);
    note->setText(QCoreApplication::translate(
        "SettingsWindow", "Subfolders are created inside the screenshot folder the first time a screenshot "
                          "is routed into them. A switched off category leaves its screenshots in the "
                          "screenshot folder."));
    layout->addWidget(note);
    return box;
}

QWidget *SettingsWindow::searchSection()
{
    SettingsStore &settings = m_services.settings;
    QGroupBox *box = section(QCoreApplication::translate("SettingsWindow", "Search"), this);
    auto *layout = static_cast<QVBoxLayout *>(box->layout());
    m_remembersText =
        named(new QCheckBox(QCoreApplication::translate("SettingsWindow",
                                                        "Remember the text of screenshots for search"),
                            box),
              "remembersTextCheckBox");
    connect(m_remembersText, &QCheckBox::clicked, this, [this, &settings](bool checked) {
        settings.setRemembersText(checked);
        if (!checked && SettingsPresentation::canClearSearchIndex(m_indexed))
            emit clearSearchIndexOffered();
    });
    layout->addWidget(m_remembersText);
    m_searchIndexSize = named(noteLabel(box), "searchIndexSizeLabel");
    m_clearSearchIndex =
        named(new QPushButton(QCoreApplication::translate("SettingsWindow", "Clear Search Index"), box),
              "clearSearchIndexButton");
    m_clearSearchIndex->setEnabled(false);
    connect(m_clearSearchIndex, &QPushButton::clicked, this, [this] {
        // Enabled again once the count shows something left to clear.
        m_clearSearchIndex->setEnabled(false);
        emit clearSearchIndexRequested();
    });
    auto *sizeRow = row({m_searchIndexSize, nullptr, m_clearSearchIndex});
    sizeRow->setStretch(0, 1);
    layout->addLayout(sizeRow);
    QLabel *note = noteLabel(box);
    note->setText(QCoreApplication::translate(
        "SettingsWindow", "The text never leaves this computer. Clearing the index deletes no screenshot; "
                          "“quillo index” reads them again."));
    layout->addWidget(note);
    if (SearchIndexReader *reader = m_services.searchIndex) {
        connect(reader, &SearchIndexReader::measured, this, [this](const ScreenshotIndex::Size &size) {
            m_indexed = size;
            m_searchIndexSize->setText(SettingsPresentation::searchIndexText(size));
            m_clearSearchIndex->setEnabled(SettingsPresentation::canClearSearchIndex(size));
        });
    }
    return box;
}

QWidget *SettingsWindow::generalSection()
{
    QGroupBox *box = section(QCoreApplication::translate("SettingsWindow", "General"), this);
    auto *layout = static_cast<QVBoxLayout *>(box->layout());
    m_launchAtLogin =
        named(new QCheckBox(QCoreApplication::translate("SettingsWindow", "Launch at login"), box),
              "launchAtLoginCheckBox");
    connect(m_launchAtLogin, &QCheckBox::clicked, this, &SettingsWindow::launchAtLoginClicked);
    m_launchAtLoginError = named(errorLabel(box), "launchAtLoginErrorLabel");
    m_privacyNote = named(noteLabel(box), "privacyNoteLabel");
    layout->addWidget(m_launchAtLogin);
    layout->addWidget(m_launchAtLoginError);
    layout->addWidget(m_privacyNote);
    return box;
}

QWidget *SettingsWindow::updatesSection()
{
    SoftwareUpdates &updates = m_services.updates;
    QGroupBox *box = section(QCoreApplication::translate("SettingsWindow", "Updates"), this);
    auto *layout = static_cast<QVBoxLayout *>(box->layout());
    m_automaticUpdates = named(
        new QCheckBox(QCoreApplication::translate("SettingsWindow", "Automatically check for updates"), box),
        "automaticUpdatesCheckBox");
    m_automaticUpdates->setChecked(updates.automaticallyChecksForUpdates());
    m_automaticUpdates->setEnabled(updates.isActive());
    connect(m_automaticUpdates, &QCheckBox::clicked, &updates,
            &SoftwareUpdates::setAutomaticallyChecksForUpdates);
    connect(&updates, &SoftwareUpdates::automaticallyChecksForUpdatesChanged, m_automaticUpdates,
            &QCheckBox::setChecked);
    layout->addWidget(m_automaticUpdates);

    auto *version = named(new QLabel(box), "versionLabel");
    version->setForegroundRole(QPalette::PlaceholderText);
    version->setText(
        SettingsPresentation::versionText(BuildConfiguration::version(), BuildConfiguration::commit()));
    auto *check =
        named(new QPushButton(QCoreApplication::translate("SettingsWindow", "Check for Updates…"), box),
              "checkForUpdatesButton");
    check->setEnabled(updates.isActive());
    connect(check, &QPushButton::clicked, &updates, &SoftwareUpdates::checkForUpdates);
    layout->addLayout(row({version, nullptr, check}));
    if (updates.isActive()) {
        QLabel *note = noteLabel(box);
        note->setText(SettingsPresentation::updatesNote(updates.feedHost(), updates.installsAtQuit()));
        layout->addWidget(note);
    }
    return box;
}

void SettingsWindow::connectStore()
{
    SettingsStore &settings = m_services.settings;
    connect(&settings, &SettingsStore::watchedFolderChanged, this, &SettingsWindow::showFolder);
    connect(&settings, &SettingsStore::customFolderPathChanged, this, &SettingsWindow::showFolder);
    connect(&settings, &SettingsStore::needsFolderAccessChanged, this, &SettingsWindow::showFolder);
    connect(&settings, &SettingsStore::appendDateSuffixChanged, this, &SettingsWindow::showExample);
    connect(&settings, &SettingsStore::useLocalModelChanged, this, &SettingsWindow::showModelServer);
    connect(&settings, &SettingsStore::localModelUrlChanged, this, &SettingsWindow::showModelServer);
    connect(&settings, &SettingsStore::localModelNameChanged, this, &SettingsWindow::showModelServer);
    connect(&settings, &SettingsStore::localModelApiChanged, this, &SettingsWindow::showModelServer);
    connect(&settings, &SettingsStore::folderRoutingEnabledChanged, this, &SettingsWindow::showRouting);
    connect(&settings, &SettingsStore::routingChanged, this, &SettingsWindow::showRouting);
    connect(&settings, &SettingsStore::remembersTextChanged, this, &SettingsWindow::showSearch);
}

bool SettingsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scrollArea->widget() && event->type() == QEvent::LayoutRequest)
        fitToContent();
    return QWidget::eventFilter(watched, event);
}

// The width is fixed; the height follows what the sections show, up to what the screen has room for.
void SettingsWindow::fitToContent()
{
    const int wanted = m_scrollArea->widget()->sizeHint().height();
    const QScreen *shown = screen();
    const int room = shown ? shown->availableGeometry().height() - titleBarAllowance : wanted;
    const int height = std::min(wanted, std::max(room, shortestHeight));
    const int scrollBar = height < wanted ? m_scrollArea->verticalScrollBar()->sizeHint().width() : 0;
    setFixedSize(windowWidth + scrollBar, height);
}

void SettingsWindow::showEvent(QShowEvent *event)
{
    fitToContent(); // the window may open on another screen than last time
    QWidget::showEvent(event);
    // The date and the login item may have changed while the window was hidden.
    showExample();
    showLaunchAtLogin();
    m_services.modelAvailability.refresh();
    // Screenshots named while the window was hidden were indexed.
    if (m_services.searchIndex)
        m_services.searchIndex->measure();
}

void SettingsWindow::showFolder()
{
    const SettingsStore &settings = m_services.settings;
    static_cast<ElidedLabel *>(m_watchedFolder)
        ->setFullText(SettingsPresentation::watchedFolderText(settings.watchedFolder(), QDir::homePath()));
    m_folderSource->setText(SettingsPresentation::folderSourceText(settings.watchedFolders(),
                                                                   settings.customFolderPath().has_value(),
                                                                   m_services.isSandboxed, QDir::homePath()));
    m_folderAccessRow->setVisible(settings.needsFolderAccess());
    m_useSystemDefault->setEnabled(settings.customFolderPath().has_value());
}

void SettingsWindow::showExample()
{
    const bool append = m_services.settings.appendDateSuffix();
    m_appendDateSuffix->setChecked(append);
    m_example->setText(SettingsPresentation::exampleFileName(append, QDateTime::currentDateTime(),
                                                             QTimeZone::systemTimeZone()));
}

void SettingsWindow::showModelServer()
{
    const SettingsStore &settings = m_services.settings;
    m_useLocalModel->setChecked(settings.useLocalModel());
    m_modelApi->setCurrentIndex(int(settings.localModelApi()));
    // Only a value changed elsewhere replaces what is typed: setText also clears the undo history.
    if (settings.localModelUrl() != m_modelServer->text()) {
        m_modelServer->setText(settings.localModelUrl());
        m_modelServerProblem->hide();
    }
    if (settings.localModelName() != m_modelName->text()) {
        m_modelName->setText(settings.localModelName());
        m_modelNameProblem->hide();
    }
    const auto warning =
        SettingsPresentation::remoteModelWarning(settings.useLocalModel(), settings.localModelUrl());
    showProblem(m_remoteWarning, warning);
    m_privacyNote->setText(
        SettingsPresentation::privacyNote(settings.useLocalModel(), settings.localModelUrl()));
}

void SettingsWindow::showRouting()
{
    const SettingsStore &settings = m_services.settings;
    m_folderRouting->setChecked(settings.folderRoutingEnabled());
    const auto &rules = settings.routing().rules;
    for (std::size_t i = 0; i < m_ruleRows.size() && qsizetype(i) < rules.size(); ++i) {
        m_ruleRows[i]->setRule(rules[qsizetype(i)]);
        // Switched off rows keep their values, so switching routing on again restores them.
        m_ruleRows[i]->setEnabled(settings.folderRoutingEnabled());
    }
    m_restoreDefaults->setEnabled(rules != RoutingConfiguration::defaultConfiguration().rules);
}

void SettingsWindow::showLaunchAtLogin()
{
    m_launchAtLogin->setChecked(m_services.launchAtLogin.isEnabled());
}

void SettingsWindow::showSearch()
{
    m_remembersText->setChecked(m_services.settings.remembersText());
}

void SettingsWindow::modelServerEdited(const QString &text)
{
    const auto check = SettingsPresentation::checkModelServer(text);
    showProblem(m_modelServerProblem, check.url ? std::nullopt : std::optional(check.problem));
    if (check.url && *check.url != m_services.settings.localModelUrl())
        m_services.settings.setLocalModelUrl(*check.url);
}

void SettingsWindow::modelNameEdited(const QString &text)
{
    const auto problem = SettingsPresentation::modelNameProblem(text);
    showProblem(m_modelNameProblem, problem);
    if (!problem && text.trimmed() != m_services.settings.localModelName())
        m_services.settings.setLocalModelName(text.trimmed());
}

void SettingsWindow::launchAtLoginClicked(bool checked)
{
    showProblem(m_launchAtLoginError, m_services.launchAtLogin.setEnabled(checked));
    // Whatever happened, the switch shows the real state.
    showLaunchAtLogin();
}
