#include "naming/FolderRouter.h"

#include <QTest>

using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

class FolderRouterTest : public QObject
{
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
    void extraKeywordsTakePart();
    void sanitizedFolderName_data();
    void sanitizedFolderName();
};

void FolderRouterTest::classify_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<OptionalText>("appName");
    QTest::addColumn<OptionalText>("bundleIdentifier");
    QTest::addColumn<ScreenshotCategory>("expected");
    const OptionalText none;
    const auto text = [](const char *value) {
        return OptionalText(QString::fromUtf8(value));
    };

    QTest::addRow("invoice with total and an amount")
        << "Invoice #1042 Total $120.00 Paid" << none << none << ScreenshotCategory::Receipts;
    QTest::addRow("code keyword and editor hint outweigh nothing else")
        << "let x = 1" << none << text("com.microsoft.vscode") << ScreenshotCategory::Code;
    QTest::addRow("tie between chats and web keeps chats")
        << "message inbox search results" << none << none << ScreenshotCategory::Chats;
    QTest::addRow("nothing scores") << "Lorem ipsum dolor" << none << none << ScreenshotCategory::Other;
    QTest::addRow("empty text without app") << "" << none << none << ScreenshotCategory::Other;
    QTest::addRow("keywords match whole words only")
        << "paidup ordering billings" << none << none << ScreenshotCategory::Other;
    QTest::addRow("one keyword counts at most twice")
        << "email email email email dashboard analytics search" << none << none << ScreenshotCategory::Web;
    QTest::addRow("repeated keyword with shared space counts twice")
        << "paid paid commit" << none << none << ScreenshotCategory::Receipts;
    QTest::addRow("accents and case do not matter")
        << "RÉCEIPT PAYMENT" << none << none << ScreenshotCategory::Receipts;
    QTest::addRow("two-word keyword") << "Amount due: 40" << none << none << ScreenshotCategory::Receipts;
    QTest::addRow("app hint on a Linux terminal")
        << "" << text("Konsole") << text("org.kde.konsole") << ScreenshotCategory::Code;
    QTest::addRow("app hint scores once for many hints")
        << "message reply thread channel" << text("Terminal") << text("xterm") << ScreenshotCategory::Chats;
    QTest::addRow("code symbols count at most four")
        << "a => b -> c == d != e { f </g> #include message reply thread channel chat" << none << none
        << ScreenshotCategory::Chats;
    QTest::addRow("currency amounts count at most three")
        << "€ 5 £7 ¥9 $1 $2 message reply thread channel" << none << none << ScreenshotCategory::Chats;
    QTest::addRow("every currency sign counts")
        << "€ 5 £7 ¥9 message reply" << none << none << ScreenshotCategory::Receipts;
    QTest::addRow("currency sign with two spaces is no amount")
        << "$  5 search" << none << none << ScreenshotCategory::Web;
    QTest::addRow("triple equals counts the pair twice")
        << "x === y search results" << none << none << ScreenshotCategory::Code;
}

void FolderRouterTest::classify()
{
    QFETCH(QString, text);
    QFETCH(OptionalText, appName);
    QFETCH(OptionalText, bundleIdentifier);
    QFETCH(ScreenshotCategory, expected);
    const auto configuration = RoutingConfiguration::defaultConfiguration();
    QCOMPARE(FolderRouter::classify(text, appName, bundleIdentifier, configuration), expected);
}

void FolderRouterTest::extraKeywordsTakePart()
{
    auto configuration = RoutingConfiguration::defaultConfiguration();
    configuration.rules[2].extraKeywords = QStringLiteral("Acme Corp, ,INVOICE-X ");
    const QString text = QStringLiteral("Acme Corp invoice x");
    // "invoice" alone scores 1 for receipts; the extra keywords give design 2.
    QCOMPARE(FolderRouter::classify(text, std::nullopt, std::nullopt, configuration),
             ScreenshotCategory::Design);
    configuration.rules[2].isEnabled = false;
    QCOMPARE(FolderRouter::classify(text, std::nullopt, std::nullopt, configuration),
             ScreenshotCategory::Design);
}

void FolderRouterTest::sanitizedFolderName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("expected");
    QTest::addRow("slashes, colon, dots and spaces") << "  ..Work/Notes: 2024 "
                                                     << "X"
                                                     << "Work-Notes- 2024";
    QTest::addRow("only dots gives the fallback") << "..."
                                                  << "Web"
                                                  << "Web";
    QTest::addRow("dots then spaces") << ". . x"
                                      << "F"
                                      << ". x";
    QTest::addRow("newlines are trimmed") << "\nReceipts\n"
                                          << "F"
                                          << "Receipts";
    QTest::addRow("empty with empty fallback") << ""
                                               << ""
                                               << "";
    QTest::addRow("ordinary name unchanged") << "UI & Design"
                                             << "F"
                                             << "UI & Design";
}

void FolderRouterTest::sanitizedFolderName()
{
    QFETCH(QString, name);
    QFETCH(QString, fallback);
    QFETCH(QString, expected);
    QCOMPARE(FolderRouter::sanitizedFolderName(name, fallback), expected);
}

QTEST_GUILESS_MAIN(FolderRouterTest)
#include "FolderRouterTest.moc"
