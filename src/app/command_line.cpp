#include "app/command_line.h"

#include "core/file_name.h"
#include "music/music_masks.h"

#include <QCommandLineParser>

#include <cstdio>

namespace dorvane {

namespace {

void Write(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), to);
}

// The masks ("*.mp3;*.wav;") as a list for people: "*.mp3 *.wav".
QString MaskList(const char* masks) {
    return QString::fromLatin1(masks).split(u';', Qt::SkipEmptyParts).join(u' ');
}

QString HelpText() {
    return QStringLiteral("Использование: dorvane [параметры] [файл...]\n"
                          "Реверси с музыкальным проигрывателем.\n"
                          "\n"
                          "Файлы (имена или адреса file://):\n"
                          "  *.dvn              сохранённая игра\n"
                          "  %1\n"
                          "                     звуковые файлы; несколько подряд - список\n"
                          "  %2\n"
                          "                     списки звуковых файлов\n"
                          "  папка              звуковые файлы папки\n"
                          "Если программа уже запущена, файлы открывает она.\n"
                          "\n"
                          "Параметры:\n"
                          "  -h, --help         эта справка\n"
                          "  -v, --version      версия программы\n"
                          "  --                 дальше только имена файлов\n")
        .arg(MaskList(kAudioMasks), MaskList(kPlaylistMasks));
}

} // namespace

TCommandLine ReadCommandLine(const QStringList& arguments, const QString& version) {
    TCommandLine line;
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption showVersion(
        QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(showVersion);
    parser.addPositionalArgument(QStringLiteral("files"), QString());
    // The parser takes the first entry as the program's name.
    if (!parser.parse(QStringList{QStringLiteral("dorvane")} + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        Write(stderr, unknown.isEmpty() ? QStringLiteral("dorvane: %1\n").arg(parser.errorText())
                                        : QStringLiteral("dorvane: неизвестный параметр «%1»\n")
                                              .arg(unknown.first().size() == 1
                                                       ? u'-' + unknown.first()
                                                       : QStringLiteral("--") + unknown.first()));
        Write(stderr, QStringLiteral("Справка: dorvane --help\n"));
        line.ended = true;
        line.exitCode = 2;
        return line;
    }
    if (parser.isSet(help)) {
        Write(stdout, HelpText());
        line.ended = true;
        return line;
    }
    if (parser.isSet(showVersion)) {
        Write(stdout, QStringLiteral("Dorvane %1\n").arg(version));
        line.ended = true;
        return line;
    }
    // A desktop names files as file:// URIs as often as as paths.
    for (const QString& argument : parser.positionalArguments())
        line.files << LocalPathFromArgument(argument);
    return line;
}

QStringList ReportUnopenableFiles(const QStringList& files) {
    QStringList unopenable;
    for (const QString& file : files)
        if (!NamedFileOpens(file)) {
            unopenable << file;
            Write(stderr, QStringLiteral("dorvane: не удалось открыть файл «%1»\n")
                              .arg(DisplayFileName(file)));
        }
    return unopenable;
}

} // namespace dorvane
