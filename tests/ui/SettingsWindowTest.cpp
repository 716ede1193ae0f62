// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SettingsWindow.h"

#include "naming/ModelAvailabilityMonitor.h"
#include "support/FakeModelServer.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"
#include "ui/SearchIndexReader.h"
#include "ui/SettingsPresentation.h"
#include "ui/XdgAutostart.h"
#include "update/SoftwareUpdates.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <unistd.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

// How a test reads and writes one value of the store.
struct Binding
{
    std::function<QString(const SettingsStore &)> read;
    std::function<void(SettingsStore &, const QString &)> write;
};

// A value of the store, or of one category's rule, through its getter and setter.
template <typename T, typename A>
Binding bind(T (SettingsStore::*getter)() const, void (SettingsStore::*setter)(A))
{
    return {[getter](const SettingsStore &s) {
                return QVariant((s.*getter)()).toString();
            },
            [setter](SettingsStore &s, const QString &v) {
                (s.*setter)(QVariant(v).value<std::decay_t<A>>());
            }};
}

template <typename T> Binding rule(ScreenshotCategory category, T CategoryRule::*field)
{
    return {[=](const SettingsStore &s) {
                return QVariant(s.routing().rule(category).*field).toString();
            },
            [=](SettingsStore &s, const QString &v) {
                CategoryRule rule = s.routing().rule(category);
                rule.*field = QVariant(v).value<T>();
                s.setRouting(SettingsPresentation::withRule(s.routing(), rule));
            }};
}

// On the box itself: a switch stretched across the window ignores clicks beside its label.
void click(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->fontMetrics().height() / 2, box->height() / 2));
}

enum class AutostartFolder
{
    Writable,
    ReadOnly,
    RegularFile
};

} // namespace

Q_DECLARE_METATYPE(Binding)

class SettingsWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void switchesAndStoreStayInStep_data();
    void switchesAndStoreStayInStep();
    void fieldsStoreOnlyUsableText_data();
    void fieldsStoreOnlyUsableText();
    void folderSectionFollowsTheStore();
    void everySectionIsReachableOnAShortScreen();
    void routingRowsFollowTheRoutingSwitch();
    void restoreDefaultFoldersFollowsEdits();
    void exampleFollowsTheDateSwitch();
    void availabilityArrivesWithoutBlocking();
    void availabilityFollowsTheChosenApi();
    void launchAtLogin_data();
    void launchAtLogin();
    void textFieldsKeepTheStandardShortcuts();
    void updateControlsAreDisabledWithoutAnUpdater();
    void missingRecognitionDataNamesItsPackage();
    void searchSectionCountsAndOffersToClear();

private:
    template <typename T> T *find(const QString &name) const
    {
        auto *widget = m_window->findChild<T *>(name);
        if (!widget)
            qFatal("no widget %s", qPrintable(name));
        return widget;
    }
    // Replaces the field's text as a user would.
    void type(const QString &field, const QString &text) const;

    std::unique_ptr<StoreFixture> m_stores;
    std::unique_ptr<ModelAvailabilityMonitor> m_availability;
    std::unique_ptr<XdgAutostart> m_autostart;
    std::unique_ptr<SoftwareUpdates> m_updates;
    // Gone before the monitor, whose last probe then ends at once instead of waiting for an answer.
    std::unique_ptr<FakeModelServer> m_server;
    std::unique_ptr<SettingsWindow> m_window;
};

void SettingsWindowTest::init()
{
    // The offscreen platform cannot pass a fixed window size on and says so; nothing else may warn.
    QTest::failOnWarning(QRegularExpression(u"^(?!This plugin does not support propagateSizeHints)"_s));
    m_window.reset();
    m_server = std::make_unique<FakeModelServer>();
    m_stores = std::make_unique<StoreFixture>(u"settings"_s);
    m_server->setModels({u"gemma3:4b"_s});
    m_stores->settings.setLocalModelUrl(m_server->baseUrl().toString());
    m_availability = std::make_unique<ModelAvailabilityMonitor>(m_stores->settings,
                                                                ModelAvailabilityMonitor::localServerProbe());
    m_autostart =
        std::make_unique<XdgAutostart>(m_stores->temp.filePath(u"autostart"_s), u"/opt/Quillo 100%/quillo"_s);
    m_updates = std::make_unique<SoftwareUpdates>(std::nullopt, m_stores->preferences);
    m_window = std::make_unique<SettingsWindow>(
        SettingsWindowServices{m_stores->settings, *m_availability, *m_autostart, *m_updates, false});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void SettingsWindowTest::type(const QString &field, const QString &text) const
{
    auto *edit = find<QLineEdit>(field);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
        return;
    }
    // Pasted, so the whole text arrives in one edit.
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

void SettingsWindowTest::switchesAndStoreStayInStep_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Binding>("binding");
    QTest::addRow("date suffix") << u"appendDateSuffixCheckBox"_s
                                 << bind(&SettingsStore::appendDateSuffix,
                                         &SettingsStore::setAppendDateSuffix);
    QTest::addRow("local model") << u"useLocalModelCheckBox"_s
                                 << bind(&SettingsStore::useLocalModel, &SettingsStore::setUseLocalModel);
    QTest::addRow("routing") << u"folderRoutingCheckBox"_s
                             << bind(&SettingsStore::folderRoutingEnabled,
                                     &SettingsStore::setFolderRoutingEnabled);
    QTest::addRow("search index") << u"remembersTextCheckBox"_s
                                  << bind(&SettingsStore::remembersText, &SettingsStore::setRemembersText);
    QTest::addRow("one category") << u"codeRuleCheckBox"_s
                                  << rule(ScreenshotCategory::Code, &CategoryRule::isEnabled);
}

void SettingsWindowTest::switchesAndStoreStayInStep()
{
    QFETCH(QString, name);
    QFETCH(Binding, binding);
    auto *box = find<QCheckBox>(name);
    QCOMPARE(box->isChecked(), binding.read(m_stores->settings) == "true"_L1);

    click(box);
    QCOMPARE(binding.read(m_stores->settings), u"false"_s);
    binding.write(m_stores->settings, u"true"_s);
    QVERIFY(box->isChecked());
}

void SettingsWindowTest::fieldsStoreOnlyUsableText_data()
{
    QTest::addColumn<QString>("field"); // its line edit and problem label are named after it
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Binding>("binding");
    QTest::addColumn<bool>("usable");
    const auto row = [](const char *situation, const char *field, const QString &typed,
                        const Binding &binding, bool usable) {
        QTest::addRow("%s", situation) << QString::fromLatin1(field) << typed << binding << usable;
    };
    const Binding server = bind(&SettingsStore::localModelUrl, &SettingsStore::setLocalModelUrl);
    const Binding model = bind(&SettingsStore::localModelName, &SettingsStore::setLocalModelName);
    const Binding folder = rule(ScreenshotCategory::Receipts, &CategoryRule::folderName);
    row("server on another computer", "modelServer", u"http://192.168.1.20:11434"_s, server, true);
    row("server address that is no URL", "modelServer", u"local host"_s, server, false);
    row("server without http", "modelServer", u"ftp://127.0.0.1:11434"_s, server, false);
    row("model name", "modelName", u"llava:7b"_s, model, true);
    row("no model name", "modelName", QString(), model, false);
    row("folder name", "receiptsFolder", u"Bills 2025 ü"_s, folder, true);
    row("folder name with a slash", "receiptsFolder", u"Bills/2025"_s, folder, false);
    row("folder name of dots only", "receiptsFolder", u".."_s, folder, false);
    row("extra keywords", "codeKeywords", u"rust, cargo"_s,
        rule(ScreenshotCategory::Code, &CategoryRule::extraKeywords), true);
}

void SettingsWindowTest::fieldsStoreOnlyUsableText()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(Binding, binding);
    QFETCH(bool, usable);
    const QString before = binding.read(m_stores->settings);
    type(field + u"LineEdit"_s, typed);
    QCOMPARE(binding.read(m_stores->settings), usable ? typed : before);
    QLabel *problem = usable ? nullptr : find<QLabel>(field + u"ProblemLabel"_s);
    if (problem)
        QVERIFY(!problem->isHidden());
    // A change made elsewhere replaces the text and its complaint.
    binding.write(m_stores->settings, u"elsewhere"_s);
    QCOMPARE(find<QLineEdit>(field + u"LineEdit"_s)->text(), u"elsewhere"_s);
    if (problem)
        QVERIFY(problem->isHidden());
}

void SettingsWindowTest::folderSectionFollowsTheStore()
{
    auto *useDefault = find<QPushButton>(u"useSystemDefaultButton"_s);
    QVERIFY(!useDefault->isEnabled());
    QVERIFY(find<QWidget>(u"folderAccessRow"_s)->isHidden());

    m_stores->settings.setWatchedFolder(QDir::homePath() + u"/Shots"_s);
    m_stores->settings.setCustomFolderPath(QDir::homePath() + u"/Shots"_s);
    m_stores->settings.setNeedsFolderAccess(true);
    QCOMPARE(find<QLabel>(u"watchedFolderLabel"_s)->toolTip(), u"~/Shots"_s);
    QCOMPARE(find<QLabel>(u"folderSourceLabel"_s)->text(), u"A custom folder you chose."_s);
    QVERIFY(!find<QWidget>(u"folderAccessRow"_s)->isHidden());
    QTest::mouseClick(useDefault, Qt::LeftButton);
    QCOMPARE(m_stores->settings.customFolderPath(), std::nullopt);
    QVERIFY(!useDefault->isEnabled());
}

void SettingsWindowTest::everySectionIsReachableOnAShortScreen()
{
    // The offscreen screen is shorter than the sections; more rows must not push the window past it.
    m_stores->settings.setNeedsFolderAccess(true);
    QCoreApplication::processEvents();
    QVERIFY(m_window->height() < m_window->screen()->availableGeometry().height());
    auto *scrollArea = find<QScrollArea>(u"sectionsScrollArea"_s);
    QScrollBar *bar = scrollArea->verticalScrollBar();
    bar->setValue(bar->maximum());
    const auto *last = find<QPushButton>(u"checkForUpdatesButton"_s);
    const QRect shown(last->mapTo(scrollArea->viewport(), QPoint()), last->size());
    QVERIFY(scrollArea->viewport()->rect().contains(shown));
}

void SettingsWindowTest::routingRowsFollowTheRoutingSwitch()
{
    type(u"webFolderLineEdit"_s, u"Links"_s);
    click(find<QCheckBox>(u"folderRoutingCheckBox"_s));
    QVERIFY(!m_stores->settings.folderRoutingEnabled());
    for (const char *row : {"receipts", "code", "design", "chats", "web", "other"})
        QVERIFY2(!find<QLineEdit>(QLatin1String(row) + u"FolderLineEdit"_s)->isEnabled(), row);
    QCOMPARE(find<QLineEdit>(u"webFolderLineEdit"_s)->text(), u"Links"_s);
    QCOMPARE(m_stores->settings.routing().rule(ScreenshotCategory::Web).folderName, u"Links"_s);

    m_stores->settings.setFolderRoutingEnabled(true);
    QVERIFY(find<QLineEdit>(u"webFolderLineEdit"_s)->isEnabled());
}

void SettingsWindowTest::restoreDefaultFoldersFollowsEdits()
{
    auto *restore = find<QPushButton>(u"restoreDefaultFoldersButton"_s);
    QVERIFY(!restore->isEnabled());
    type(u"chatsFolderLineEdit"_s, u"Talk"_s);
    QVERIFY(restore->isEnabled());
    QTest::mouseClick(restore, Qt::LeftButton);
    QCOMPARE(m_stores->settings.routing(), RoutingConfiguration::defaultConfiguration());
    QCOMPARE(find<QLineEdit>(u"chatsFolderLineEdit"_s)->text(), defaultFolderName(ScreenshotCategory::Chats));
    QVERIFY(!restore->isEnabled());
}

void SettingsWindowTest::exampleFollowsTheDateSwitch()
{
    auto *example = find<QLabel>(u"exampleLabel"_s);
    QVERIFY(QRegularExpression(u"^stripe-invoice-paid-\\d{4}-\\d{2}-\\d{2}\\.png$"_s)
                .match(example->text())
                .hasMatch());
    click(find<QCheckBox>(u"appendDateSuffixCheckBox"_s));
    QCOMPARE(example->text(), u"stripe-invoice-paid.png"_s);
}

void SettingsWindowTest::availabilityArrivesWithoutBlocking()
{
    m_server->setBehaviour("/api/show", FakeModelServer::Behaviour::Delay, 2s);
    m_window->hide();
    int turns = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&turns] {
        ++turns;
    });
    ticker.start(50ms);
    m_window->show();
    // Showing starts the check and returns; a check run in place, even one turning its own event
    // loop, would let the ticker run for the whole two seconds first.
    QVERIFY2(turns < 10, qPrintable(u"showing took %1 turns"_s.arg(turns)));
    const QString available =
        u"A local AI model (gemma3:4b) is available. Names come from the local model."_s;
    QTRY_COMPARE_WITH_TIMEOUT(find<QLabel>(u"modelAvailabilityLabel"_s)->text(), available, 10000);
    QVERIFY2(turns >= 20, qPrintable(u"the event loop turned only %1 times"_s.arg(turns)));
}

void SettingsWindowTest::availabilityFollowsTheChosenApi()
{
    m_server->serve("/api/tags", "{}", 500); // only the OpenAI-compatible API answers
    auto *api = find<QComboBox>(u"modelApiComboBox"_s);
    api->setFocus();
    QTest::keyClick(api, Qt::Key_Down);
    QCOMPARE(m_stores->settings.localModelApi(), LocalModelApi::OpenAI);
    QTRY_COMPARE_WITH_TIMEOUT(
        find<QLabel>(u"modelAvailabilityLabel"_s)->text(),
        u"A local AI model (gemma3:4b) is available. Names come from the local model."_s, 10000);
    QVERIFY(!m_server->requests("/v1/models").isEmpty());
    m_stores->settings.setLocalModelApi(LocalModelApi::Ollama);
    QCOMPARE(api->currentIndex(), 0);
}

void SettingsWindowTest::launchAtLogin_data()
{
    QTest::addColumn<AutostartFolder>("folder");
    QTest::addRow("writable folder") << AutostartFolder::Writable;
    QTest::addRow("read-only folder") << AutostartFolder::ReadOnly;
    QTest::addRow("a file where the folder belongs") << AutostartFolder::RegularFile;
}

void SettingsWindowTest::launchAtLogin()
{
    QFETCH(AutostartFolder, folder);
    const QString autostart = m_stores->temp.filePath(u"autostart"_s);
    if (folder == AutostartFolder::ReadOnly) {
        if (geteuid() == 0)
            QSKIP("permissions do not stop root");
        QVERIFY(QDir().mkpath(autostart));
        QVERIFY(QFile::setPermissions(autostart, QFile::ReadOwner | QFile::ExeOwner));
    } else if (folder == AutostartFolder::RegularFile) {
        QFile file(autostart);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    auto *box = find<QCheckBox>(u"launchAtLoginCheckBox"_s);
    auto *error = find<QLabel>(u"launchAtLoginErrorLabel"_s);
    QVERIFY(!box->isChecked());

    click(box);
    QFile entry(m_autostart->entryPath());
    if (folder != AutostartFolder::Writable) {
        QVERIFY(!box->isChecked());
        QVERIFY2(!error->isHidden() && error->text().contains(autostart), qPrintable(error->text()));
        QVERIFY(!entry.exists());
        return;
    }
    QVERIFY(box->isChecked() && error->isHidden());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QVERIFY(entry.readAll().contains(R"(Exec="/opt/Quillo 100%%/quillo")"));
    entry.close();
    click(box);
    QVERIFY(!box->isChecked() && !entry.exists());
    // Switched on, then hidden elsewhere: it reads as off when the window is shown again.
    click(box);
    QVERIFY(TestFiles::write(entry.fileName(), "[Desktop Entry]\nType=Application\nHidden=true\n"));
    m_window->hide();
    m_window->show();
    QVERIFY(!box->isChecked());
}

void SettingsWindowTest::textFieldsKeepTheStandardShortcuts()
{
    const auto fields = m_window->findChildren<QLineEdit *>();
    QCOMPARE(fields.size(), 14);
    for (QLineEdit *field : fields) {
        const auto press = [field](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
            QTest::keyClick(field, key, modifiers);
            return field->text();
        };
        type(field->objectName(), u"ab"_s);
        press(Qt::Key_A);
        QCOMPARE(press(Qt::Key_C), u"ab"_s);
        QCOMPARE(press(Qt::Key_X), QString());
        QCOMPARE(press(Qt::Key_V), u"ab"_s);
        QCOMPARE(press(Qt::Key_V), u"abab"_s);
        QCOMPARE(press(Qt::Key_Z), u"ab"_s);
        QCOMPARE(press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier), u"abab"_s);
    }
}

void SettingsWindowTest::updateControlsAreDisabledWithoutAnUpdater()
{
    auto *automatic = find<QCheckBox>(u"automaticUpdatesCheckBox"_s);
    QVERIFY(automatic->isChecked() && !automatic->isEnabled());
    QVERIFY(!find<QPushButton>(u"checkForUpdatesButton"_s)->isEnabled());
}

void SettingsWindowTest::missingRecognitionDataNamesItsPackage()
{
    QVERIFY(TestFiles::write(m_stores->temp.filePath(u"tessdata/eng.traineddata"_s)));
    m_stores->preferences.setString(u"recognitionLanguages"_s, u"deu"_s);
    SettingsStore settings(m_stores->preferences);
    qputenv("TESSDATA_PREFIX", QFile::encodeName(m_stores->temp.filePath(u"tessdata"_s)));
    SettingsWindow window(SettingsWindowServices{settings, *m_availability, *m_autostart, *m_updates, false});
    qunsetenv("TESSDATA_PREFIX");
    auto *label = window.findChild<QLabel *>(u"recognitionLanguagesLabel"_s);
    QVERIFY(label && label->isVisibleTo(&window));
    QCOMPARE(label->text(),
             u"German text recognition needs the package tesseract-ocr-deu; reading English until then."_s);
}

void SettingsWindowTest::searchSectionCountsAndOffersToClear()
{
    ScreenshotIndex index(m_stores->temp.filePath(u"index.sqlite"_s));
    for (const QString &name : {u"a.png"_s, u"b.png"_s}) {
        QFile(m_stores->root + u'/' + name).open(QIODevice::WriteOnly);
        QCOMPARE(index.put({m_stores->root + u'/' + name, {}, {}, {}, {}, {}, u"invoice"_s}), std::nullopt);
    }
    SearchIndexReader reader(index.filePath());
    SettingsWindow window(SettingsWindowServices{m_stores->settings, *m_availability, *m_autostart,
                                                 *m_updates, false, &reader});
    QSignalSpy cleared(&window, &SettingsWindow::clearSearchIndexRequested);
    QSignalSpy offered(&window, &SettingsWindow::clearSearchIndexOffered);
    window.show();
    auto *size = window.findChild<QLabel *>(u"searchIndexSizeLabel"_s);
    QTRY_VERIFY(size->text().startsWith(u"2 screenshots, "_s));
    auto *clear = window.findChild<QPushButton *>(u"clearSearchIndexButton"_s);
    QVERIFY(clear->isEnabled());
    click(window.findChild<QCheckBox *>(u"remembersTextCheckBox"_s));
    QCOMPARE(offered.count(), 1);
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(cleared.count(), 1);
    QCOMPARE(index.clear(), std::nullopt);
    reader.measure();
    QTRY_COMPARE(size->text(), u"No screenshots are indexed."_s);
    QVERIFY(!clear->isEnabled());
}

QTEST_MAIN(SettingsWindowTest)
#include "SettingsWindowTest.moc"
