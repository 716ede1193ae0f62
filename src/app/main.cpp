#include <QCommandLineParser>
#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quillo names new screenshots after what they show, on this computer."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    parser.showHelp(0);
}
