#include "naming/FoundationModelNamer.h"

#include "naming/OllamaModelClient.h"
#include "support/FakeModelServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Behaviour = FakeModelServer::Behaviour;
using State = ModelAvailability::State;
using OptionalCategory = std::optional<ScreenshotCategory>;
Q_DECLARE_METATYPE(OptionalCategory)

namespace {

QList<QStringList> namesOf(const QStringList &names)
{
    QList<QStringList> words;
    for (const QString &name : names)
        words.append(name.split(u' '));
    return words;
}

} // namespace

class FoundationModelNamerTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(u"."_s)); }
    void suggestion_data();
    void suggestion();
    void category_data();
    void category();
    void availabilityDescription_data();
    void availabilityDescription();
    void instructionsAndSchemaAreExact();
    void imagePromptNamesAppAndWindow();
    void suggest_data();
    void suggest();
};

void FoundationModelNamerTest::suggestion_data()
{
    QTest::addColumn<QStringList>("keywords");
    QTest::addColumn<QStringList>("knownNames");
    QTest::addColumn<QString>("categoryName");
    QTest::addColumn<QString>("expectedSlug"); // empty: no suggestion
    QTest::addColumn<ScreenshotCategory>("expectedCategory");
    const auto receipts = ScreenshotCategory::Receipts;

    QTest::addRow("pull request number and pr go")
        << QStringList{"PR #482", "login", "fix"} << QStringList() << "code"
        << "login-fix" << ScreenshotCategory::Code;
    QTest::addRow("dotted version goes") << QStringList{"release 2.3.1 notes"} << QStringList() << "receipts"
                                         << "release-notes" << receipts;
    QTest::addRow("version with a capital V goes")
        << QStringList{"V10.4 changelog", "api"} << QStringList() << "receipts"
        << "changelog-api" << receipts;
    QTest::addRow("six-digit number goes")
        << QStringList{"order 123456", "refund"} << QStringList() << "receipts"
        << "order-refund" << receipts;
    QTest::addRow("four-digit year stays") << QStringList{"order 2024"} << QStringList() << "receipts"
                                           << "order-2024" << receipts;
    QTest::addRow("file-description words without a known name")
        << QStringList{"screenshot", "image"} << QStringList() << "receipts"
        << "" << receipts;
    QTest::addRow("known name keeps screen")
        << QStringList{"screen studio export"} << QStringList{"screen studio"} << "design"
        << "screen-studio-export" << ScreenshotCategory::Design;
    QTest::addRow("punctuation, numbers, versions and noise only")
        << QStringList{"!!!", "#12", "3.14.15", "12345678", "20mb", "--", "a"} << QStringList() << "receipts"
        << "" << receipts;
    QTest::addRow("one word in many spellings")
        << QStringList{"invoice", "Invoice", "INVOICE!"} << QStringList() << "receipts"
        << "" << receipts;
    QTest::addRow("more than five words")
        << QStringList{"stripe invoice paid march acme corp"} << QStringList() << "receipts"
        << "stripe-invoice-paid-march-acme" << receipts;
    QTest::addRow("unknown category takes the fallback")
        << QStringList{"quarterly", "budget"} << QStringList() << "finance"
        << "quarterly-budget" << ScreenshotCategory::Web;
}

void FoundationModelNamerTest::suggestion()
{
    QFETCH(QStringList, keywords);
    QFETCH(QStringList, knownNames);
    QFETCH(QString, categoryName);
    QFETCH(QString, expectedSlug);
    QFETCH(ScreenshotCategory, expectedCategory);
    const auto result = FoundationModelNamer::suggestion(keywords, categoryName, ScreenshotCategory::Web,
                                                         namesOf(knownNames), NamingSource::FoundationModels);
    QCOMPARE(result ? result->slug : QString(), expectedSlug);
    if (result) {
        QCOMPARE(result->category, expectedCategory);
        QCOMPARE(result->source, NamingSource::FoundationModels);
    }
}

void FoundationModelNamerTest::category_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<OptionalCategory>("expected");
    QTest::addRow("raw value") << "chats" << OptionalCategory(ScreenshotCategory::Chats);
    QTest::addRow("default folder name")
        << "Receipts & Invoices" << OptionalCategory(ScreenshotCategory::Receipts);
    QTest::addRow("first word of a folder name") << "ui" << OptionalCategory(ScreenshotCategory::Design);
    QTest::addRow("capitalised") << "Code" << OptionalCategory(ScreenshotCategory::Code);
    QTest::addRow("unrelated word") << "finance" << OptionalCategory();
    QTest::addRow("empty") << "" << OptionalCategory();
}

void FoundationModelNamerTest::category()
{
    QFETCH(QString, name);
    QFETCH(OptionalCategory, expected);
    QCOMPARE(FoundationModelNamer::category(name), expected);
}

void FoundationModelNamerTest::availabilityDescription_data()
{
    QTest::addColumn<State>("state");
    QTest::addColumn<QString>("expected");
    QTest::addRow("available")
        << State::Available << "A local AI model (gemma3:4b) is available. Names come from the local model.";
    QTest::addRow("no server")
        << State::NoServer
        << "No local AI model server is running at http://127.0.0.1:11434. Names come from "
           "on-device text recognition.";
    QTest::addRow("model missing")
        << State::ModelMissing
        << "The model gemma3:4b is not installed on the local model server. Names come "
           "from on-device text recognition for now.";
    QTest::addRow("other")
        << State::Unavailable
        << "The local AI model is unavailable. Names come from on-device text recognition.";
}

void FoundationModelNamerTest::availabilityDescription()
{
    QFETCH(State, state);
    QFETCH(QString, expected);
    QCOMPARE(FoundationModelNamer::availabilityDescription({state, false}, u"gemma3:4b"_s,
                                                           u"http://127.0.0.1:11434"_s),
             expected);
}

void FoundationModelNamerTest::instructionsAndSchemaAreExact()
{
    const QString &instructions = FoundationModelNamer::instructions();
    QCOMPARE(instructions.size(), 872);
    QVERIFY(instructions.contains(u"such as \"Messaged X\" or \"5 messages with X\""_s));

    const QJsonObject schema = QJsonDocument::fromJson(FoundationModelNamer::generationSchema()).object();
    QCOMPARE(schema.value(u"required"_s).toArray(), (QJsonArray{u"keywords"_s, u"category"_s}));
    const QJsonObject keywords = schema.value(u"properties"_s).toObject().value(u"keywords"_s).toObject();
    QCOMPARE(keywords.value(u"minItems"_s).toInt(), 3);
    QCOMPARE(keywords.value(u"maxItems"_s).toInt(), 5);
    QCOMPARE(keywords.value(u"description"_s).toString().size(), 272);
    QVERIFY(keywords.value(u"description"_s).toString().endsWith(u"or the word screenshot on its own."_s));
    const QJsonObject category = schema.value(u"properties"_s).toObject().value(u"category"_s).toObject();
    QCOMPARE(category.value(u"enum"_s).toArray(),
             (QJsonArray{u"receipts"_s, u"code"_s, u"design"_s, u"chats"_s, u"web"_s, u"other"_s}));
    QCOMPARE(category.value(u"description"_s).toString().size(), 212);
}

void FoundationModelNamerTest::imagePromptNamesAppAndWindow()
{
    const QString ask =
        u"Look at this screenshot image and identify its overall premise and main subject in 3 to 5 "
        "specific lowercase keywords."_s;
    QCOMPARE(FoundationModelNamer::imagePrompt({u"Slack"_s, u"com.slack.Slack"_s, u"Design Review"_s}),
             u"App: Slack\nWindow title: Design Review\n"_s + ask);
    QCOMPARE(FoundationModelNamer::imagePrompt({}), ask);
}

void FoundationModelNamerTest::suggest_data()
{
    QTest::addColumn<bool>("hasVision");
    QTest::addColumn<QString>("image"); // "none", "readable" or "unreadable"
    QTest::addColumn<QList<QByteArray>>("answers");
    QTest::addColumn<Behaviour>("chatBehaviour");
    QTest::addColumn<QString>("expectedSlug"); // empty: no suggestion
    QTest::addColumn<NamingSource>("expectedSource");
    QTest::addColumn<QString>("expectedRequests"); // what each chat request carried
    QTest::addColumn<QStringList>("expectedLog");  // "info: ..." or "warning: ..."
    const QByteArray invoice = R"({"keywords":["stripe invoice","paid"],"category":"receipts"})";
    const QByteArray login = R"({"keywords":["login","page"],"category":"web"})";
    const QByteArray blank = R"({"keywords":["screenshot","image","capture"],"category":"other"})";
    const auto image = NamingSource::FoundationModelsImage;
    const auto text = NamingSource::FoundationModels;

    QTest::addRow("image answer is used")
        << true << "readable" << QList{invoice} << Behaviour::Answer << "stripe-invoice-paid" << image
        << "image" << QStringList{"info: Named screenshot using local image analysis: stripe invoice-paid"};
    QTest::addRow("no vision: text only")
        << false << "readable" << QList{login} << Behaviour::Answer << "login-page" << text << "text"
        << QStringList{"info: Image input unavailable, using text only",
                       "info: Named screenshot using the local model: login-page"};
    QTest::addRow("unreadable image: text only")
        << true << "unreadable" << QList{login} << Behaviour::Answer << "login-page" << text << "text"
        << QStringList{"info: Image input unavailable, using text only",
                       "info: Named screenshot using the local model: login-page"};
    QTest::addRow("no image offered")
        << true << "none" << QList{login} << Behaviour::Answer << "login-page" << text << "text"
        << QStringList{"info: Named screenshot using the local model: login-page"};
    QTest::addRow("unusable image answer: text asked")
        << true << "readable" << QList{blank, login} << Behaviour::Answer << "login-page" << text
        << "image text"
        << QStringList{"info: Named screenshot using local image analysis: screenshot-image-capture",
                       "info: Named screenshot using the local model: login-page"};
    QTest::addRow("bad image answer: text asked")
        << true << "readable" << QList<QByteArray>{"{\"keywords\": 7}", login} << Behaviour::Answer
        << "login-page" << text << "image text"
        << QStringList{"warning: Image naming failed, using text only: The generated keywords are not a list "
                       "of texts",
                       "info: Named screenshot using the local model: login-page"};
    QTest::addRow("server fails both")
        << true << "readable" << QList{invoice} << Behaviour::ServerError << "" << text << "image text"
        << QStringList{
               "warning: Image naming failed, using text only: The model server answered with HTTP status "
               "500: model runner has unexpectedly stopped",
               "warning: Text naming failed: The model server answered with HTTP status 500: model runner "
               "has unexpectedly stopped"};
    QTest::addRow("server too slow for both")
        << true << "readable" << QList{invoice} << Behaviour::Delay << "" << text << "image text"
        << QStringList{"warning: Image naming failed, using text only: No answer within 0.2 s",
                       "warning: Text naming failed: No answer within 0.1 s"};
}

void FoundationModelNamerTest::suggest()
{
    QFETCH(bool, hasVision);
    QFETCH(QString, image);
    QFETCH(QList<QByteArray>, answers);
    QFETCH(Behaviour, chatBehaviour);
    QFETCH(QString, expectedSlug);
    QFETCH(NamingSource, expectedSource);
    QFETCH(QString, expectedRequests);
    QFETCH(QStringList, expectedLog);
    FakeModelServer server;
    server.setChatContents(answers);
    server.setBehaviour("/api/chat", chatBehaviour, 5s);
    OllamaModelClient client(server.baseUrl(), u"gemma3:4b"_s);
    FoundationModelNamer::Question question{u"Main content body:\nStripe invoice"_s, {}, {}, {}};
    if (image != u"none") {
        question.loadImage = [image] {
            QImage picture(8, 8, QImage::Format_RGB32);
            picture.fill(Qt::white);
            return image == u"readable" ? picture : QImage();
        };
    }
    for (const QString &entry : std::as_const(expectedLog)) {
        const bool warning = entry.startsWith(u"warning: ");
        QTest::ignoreMessage(warning ? QtWarningMsg : QtInfoMsg, qPrintable(entry.section(u": "_s, 1)));
    }

    const auto result = FoundationModelNamer::suggest(client, {State::Available, hasVision}, question,
                                                      ScreenshotCategory::Other, {200ms, 100ms});
    QCOMPARE(result ? result->slug : QString(), expectedSlug);
    if (result)
        QCOMPARE(result->source, expectedSource);
    QStringList sent;
    for (const auto &request : server.requests("/api/chat")) {
        const QJsonObject user = request.json().value(u"messages"_s).toArray().at(1).toObject();
        const QString content = user.value(u"content"_s).toString();
        if (user.contains(u"images"_s) && content.startsWith(FoundationModelNamer::imagePrompt({})))
            sent.append(u"image"_s);
        else if (!user.contains(u"images"_s) && content.startsWith(question.prompt))
            sent.append(u"text"_s);
        else
            sent.append(u"unexpected"_s);
    }
    QCOMPARE(sent.join(u' '), expectedRequests);
}

QTEST_GUILESS_MAIN(FoundationModelNamerTest)
#include "FoundationModelNamerTest.moc"
