// SPDX-License-Identifier: GPL-3.0-or-later
#include "naming/LocalModelNamer.h"

#include "TestLines.h"
#include "naming/OllamaModelClient.h"
#include "support/FakeModelServer.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTest>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Behaviour = FakeModelServer::Behaviour;
using State = ModelAvailability::State;
using OptionalCategory = std::optional<ScreenshotCategory>;
Q_DECLARE_METATYPE(OptionalCategory)

class LocalModelNamerTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void suggestion_data();
    void suggestion();
    void suggest_data();
    void suggest();
    void prompt_data();
    void prompt();
    void knownNamesComeFromTheScreen();
};

void LocalModelNamerTest::suggestion_data()
{
    QTest::addColumn<QStringList>("keywords");
    QTest::addColumn<QString>("knownName");
    QTest::addColumn<QString>("expectedSlug");              // empty: no suggestion
    QTest::addColumn<QString>("categoryName");              // as the model wrote it
    QTest::addColumn<OptionalCategory>("expectedCategory"); // none: the heuristic one, Web
    const auto row = [](const char *name, const QStringList &keywords, const QString &knownName,
                        const QString &slug, const QString &categoryName = u"receipts"_s,
                        OptionalCategory category = ScreenshotCategory::Receipts) {
        QTest::addRow("%s", name) << keywords << knownName << slug << categoryName << category;
    };
    row("pull request number and pr go", {"PR #482", "login", "fix"}, u""_s, u"login-fix"_s);
    row("dotted versions go", {"release 2.3.1 notes", "V10.4"}, u""_s, u"release-notes"_s);
    row("six-digit number goes", {"order 123456", "refund"}, u""_s, u"order-refund"_s);
    row("four-digit year stays", {"order 2024"}, u""_s, u"order-2024"_s);
    row("file-description words alone", {"screenshot", "image"}, u""_s, u""_s);
    row("known name keeps screen", {"screen studio export"}, u"screen studio"_s, u"screen-studio-export"_s);
    row("punctuation, numbers and noise only", {"!!!", "#12", "3.14.15", "12345678", "20mb", "a"}, u""_s,
        u""_s);
    row("one word in many spellings", {"invoice", "Invoice", "INVOICE!"}, u""_s, u""_s);
    row("more than five words", {"stripe invoice paid march acme corp"}, u""_s,
        u"stripe-invoice-paid-march-acme"_s);
    row("category as a raw value", {"budget sheet"}, u""_s, u"budget-sheet"_s, u"chats"_s,
        ScreenshotCategory::Chats);
    row("category as its default folder name", {"budget sheet"}, u""_s, u"budget-sheet"_s,
        u"Receipts & Invoices"_s, ScreenshotCategory::Receipts);
    row("category as a folder name's first word", {"budget sheet"}, u""_s, u"budget-sheet"_s, u"ui"_s,
        ScreenshotCategory::Design);
    row("unrelated category word", {"budget sheet"}, u""_s, u"budget-sheet"_s, u"finance"_s, std::nullopt);
    row("no category", {"budget sheet"}, u""_s, u"budget-sheet"_s, u""_s, std::nullopt);
}

void LocalModelNamerTest::suggestion()
{
    QFETCH(QStringList, keywords);
    QFETCH(QString, knownName);
    QFETCH(QString, expectedSlug);
    QFETCH(QString, categoryName);
    QFETCH(OptionalCategory, expectedCategory);
    QCOMPARE(LocalModelNamer::category(categoryName), expectedCategory);
    const QList<QStringList> knownNames{knownName.split(u' ', Qt::SkipEmptyParts)};
    const auto result = LocalModelNamer::suggestion(keywords, categoryName, ScreenshotCategory::Web,
                                                    knownNames, NamingSource::LocalModel);
    QCOMPARE(result ? result->slug : QString(), expectedSlug);
    if (result)
        QCOMPARE(*result, (NamingSuggestion{expectedSlug, expectedCategory.value_or(ScreenshotCategory::Web),
                                            NamingSource::LocalModel}));
}

void LocalModelNamerTest::suggest_data()
{
    QTest::addColumn<bool>("hasVision");
    QTest::addColumn<QString>("image");             // "none", "readable" or "unreadable"
    QTest::addColumn<QList<QByteArray>>("answers"); // none: the server fails with status 500
    QTest::addColumn<Behaviour>("chatBehaviour");
    QTest::addColumn<QString>("expectedSlug"); // empty: no suggestion
    QTest::addColumn<QString>("expectedRequests");
    QTest::addColumn<QStringList>("expectedLog"); // "info: ..." or "warning: ..."
    const QByteArray invoice = R"({"keywords":["stripe invoice","paid"],"category":"receipts"})";
    const QByteArray login = R"({"keywords":["login","page"],"category":"web"})";
    const QByteArray blank = R"({"keywords":["screenshot","image","capture"],"category":"other"})";
    const QString textAnswered = u"info: Named screenshot using the local model: \"login-page\""_s;
    const QString noImage = u"info: Image input unavailable, using text only"_s;
    const QString serverError =
        u"The model server answered with HTTP status 500: \"model runner has unexpectedly stopped\""_s;

    QTest::addRow("image answer is used")
        << true << u"readable"_s << QList{invoice} << Behaviour::Answer << u"stripe-invoice-paid"_s
        << u"image"_s
        << QStringList{R"(info: Named screenshot using local image analysis: "stripe invoice-paid")"};
    QTest::addRow("no vision") << false << u"readable"_s << QList{login} << Behaviour::Answer
                               << u"login-page"_s << u"text"_s << QStringList{noImage, textAnswered};
    QTest::addRow("unreadable image") << true << u"unreadable"_s << QList{login} << Behaviour::Answer
                                      << u"login-page"_s << u"text"_s << QStringList{noImage, textAnswered};
    QTest::addRow("unusable image answer")
        << true << u"readable"_s << QList{blank, login} << Behaviour::Answer << u"login-page"_s
        << u"image text"_s
        << QStringList{R"(info: Named screenshot using local image analysis: "screenshot-image-capture")",
                       textAnswered};
    QTest::addRow("line break and direction override in the answer are logged escaped")
        << false << u"none"_s
        << QList{QByteArray(R"({"keywords":["login\nquillo.naming: forged","page \u202egnp"]})")}
        << Behaviour::Answer << u"login-quillo-naming-forged-page"_s << u"text"_s
        << QStringList{
               R"(info: Named screenshot using the local model: "login\nquillo.naming: forged-page \u202egnp")"};
    QTest::addRow("server fails both")
        << true << u"readable"_s << QList<QByteArray>{} << Behaviour::Answer << u""_s << u"image text"_s
        << QStringList{"warning: Image naming failed, using text only: " + serverError,
                       "warning: Text naming failed: " + serverError};
    QTest::addRow("server too slow for both")
        << true << u"readable"_s << QList{invoice} << Behaviour::Delay << u""_s << u"image text"_s
        << QStringList{"warning: Image naming failed, using text only: No answer within 0.3 s",
                       "warning: Text naming failed: No answer within 0.2 s"};
}

void LocalModelNamerTest::suggest()
{
    QFETCH(bool, hasVision);
    QFETCH(QString, image);
    QFETCH(QList<QByteArray>, answers);
    QFETCH(Behaviour, chatBehaviour);
    QFETCH(QString, expectedSlug);
    QFETCH(QString, expectedRequests);
    QFETCH(QStringList, expectedLog);
    FakeModelServer server;
    server.setChatContents(answers);
    server.setBehaviour("/api/chat", chatBehaviour, 5s);
    if (answers.isEmpty())
        server.serve("/api/chat", R"({"error":"model runner has unexpectedly stopped"})", 500);
    OllamaModelClient client({LocalModelApi::Ollama, server.baseUrl(), u"gemma3:4b"_s, {}});
    LocalModelNamer::Question question{u"Main content body:\nStripe invoice"_s, {}, {}, {}};
    if (image != u"none") {
        question.loadImage = [image] {
            QImage picture(8, 8, QImage::Format_RGB32);
            picture.fill(Qt::white);
            return image == u"readable" ? picture : QImage();
        };
    }
    for (const QString &entry : std::as_const(expectedLog))
        QTest::ignoreMessage(entry.startsWith(u"warning") ? QtWarningMsg : QtInfoMsg,
                             qPrintable(entry.section(u": "_s, 1)));

    const bool slow = chatBehaviour == Behaviour::Delay;
    const LocalModelNamer::TimeLimits limits{slow ? 300ms : 10s, slow ? 200ms : 10s};
    const auto result = LocalModelNamer::suggest(client, {State::Available, hasVision}, question,
                                                 ScreenshotCategory::Other, limits);
    QCOMPARE(result ? result->slug : QString(), expectedSlug);
    if (result)
        QCOMPARE(result->source,
                 expectedRequests == u"image" ? NamingSource::LocalModelImage : NamingSource::LocalModel);
    QStringList sent; // what each chat request carried
    for (const auto &request : server.requests("/api/chat")) {
        const QJsonObject user = request.json().value(u"messages"_s).toArray().at(1).toObject();
        const QString content = user.value(u"content"_s).toString();
        if (user.contains(u"images"_s) && content.startsWith(LocalModelNamer::imagePrompt({})))
            sent.append(u"image"_s);
        else if (!user.contains(u"images"_s) && content.startsWith(question.prompt))
            sent.append(u"text"_s);
        else
            sent.append(u"unexpected"_s);
    }
    QCOMPARE(sent.join(u' '), expectedRequests);
}

void LocalModelNamerTest::prompt_data()
{
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<CaptureContext>("context");
    QTest::addColumn<QString>("expected");
    const CaptureContext editor{u"Text Editor"_s, u"org.gnome.TextEditor"_s, u"notes.txt — Text Editor"_s};

    QTest::addRow("heading, file and body; no background section")
        << Lines{line(u"Quarterly Report"_s, 0.1, 0.85, 0.4, 0.05),
                 line(u"See budget_q3.xlsx for figures"_s, 0.1, 0.6),
                 line(u"Revenue grew in every region"_s, 0.1, 0.5)}
        << editor
        << u"App: Text Editor\nWindow title: notes.txt — Text Editor\nFeatured names: budget\n"
           "Main content headings & featured items:\nQuarterly Report\nSee budget_q3.xlsx for figures\n"
           "Main content body:\nRevenue grew in every region"_s;
    QTest::addRow("sections with nothing worth saying read (none)")
        << Lines{line(u"12:45"_s, 0.1, 0.5), line(u"..."_s, 0.1, 0.4)} << CaptureContext{}
        << u"Main content headings & featured items:\n(none)\nMain content body:\n(none)\n"
           "Sidebar / background chrome (ignore unless main content is empty):\n(none)"_s;
}

void LocalModelNamerTest::prompt()
{
    QFETCH(Lines, lines);
    QFETCH(CaptureContext, context);
    QFETCH(QString, expected);
    QCOMPARE(LocalModelNamer::prompt({ScreenLayout(lines), context, std::nullopt}), expected);
}

void LocalModelNamerTest::knownNamesComeFromTheScreen()
{
    const Lines lines{line(u"Open ScreenStudio-export.mov"_s, 0.1, 0.5)};
    const CaptureContext context{u"Files"_s, u"org.gnome.Nautilus"_s, u"Screen Studio"_s};
    const auto names = LocalModelNamer::knownNames({ScreenLayout(lines), context, std::nullopt});
    QCOMPARE(names, (QList<QStringList>{{u"screen"_s, u"studio"_s}, {u"screen"_s, u"studio"_s}}));
}

QTEST_GUILESS_MAIN(LocalModelNamerTest)
#include "LocalModelNamerTest.moc"
