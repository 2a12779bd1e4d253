// Not a test: shows the level meter and the tag query window on the screen
// until they are closed, so that they can be looked at under Xvfb.
// `indicator_gallery meter`: the three styles, each at two sizes, the
// levels swinging; `indicator_gallery query`: the query window over 300
// made-up songs, held a third of the way through its query for four
// seconds.
#include "musicui/kvoindicator.h"
#include "musicui/queryidform.h"

#include "support/gated_query_reader.h"
#include "support/tag_builder.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>

using namespace dorvane;
using namespace dorvane::test;

namespace {

int ShowMeters() {
    auto* window = new QWidget;
    window->setWindowTitle(QStringLiteral("Индикатор"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* grid = new QGridLayout(window);
    std::vector<TKvoIndicator*> meters;
    for (int style = 0; style < 3; ++style)
        for (const QSize size : {QSize(19, 200), QSize(32, 128), QSize(64, 200)}) {
            const int column = int(meters.size());
            auto* meter = new TKvoIndicator(window);
            meter->setFixedSize(size);
            if (style == 1) {
                meter->SetBeginColor(qRgb(0x00, 0x80, 0xC0));
                meter->SetEndColor(qRgb(0x00, 0xFF, 0xFF));
            }
            meter->SetModification(style);
            grid->addWidget(meter, 0, column, Qt::AlignBottom | Qt::AlignHCenter);
            grid->addWidget(new QLabel(QString::number(style + 1), window), 1, column,
                            Qt::AlignHCenter);
            meters.push_back(meter);
        }
    // Levels that swing at different rates, so each picture shows both
    // columns at other heights.
    auto* timer = new QTimer(window);
    int frame = 0;
    QObject::connect(timer, &QTimer::timeout, window, [meters, frame]() mutable {
        ++frame;
        for (std::size_t k = 0; k < meters.size(); ++k) {
            const double t = frame * 0.05 + double(k);
            meters[k]->SetPosition0(int(64 + 60 * std::sin(t)));
            meters[k]->SetPosition1(int(64 + 60 * std::cos(t * 1.3)));
        }
    });
    timer->start(50);
    window->show();
    return QApplication::exec();
}

int ShowQuery() {
    QTemporaryDir dir;
    TPlaylist playlist;
    for (int k = 0; k < 300; ++k) {
        const std::string n = std::to_string(k + 1);
        const Bytes song =
            Cat({Id3Tag(Cat({TextFrame("TPE1", "Artist " + n), TextFrame("TALB", "Album " + n),
                             TextFrame("TIT2", "Song " + n)})),
                 Mp3Frames(40)});
        const QString path = dir.filePath(QStringLiteral("%1.mp3").arg(k + 1));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(reinterpret_cast<const char*>(song.data()), qsizetype(song.size()));
        playlist.Append(FList{0, 0, QFileInfo(path).completeBaseName(), path, {}, ".mp3"});
    }
    TGatedQueryReader gate(100);
    TQueryIDForm* form = TQueryIDForm::Open(playlist, nullptr);
    form->Query().SetReader(gate.Reader());
    form->Box(TQueryIDForm::Album)->setChecked(true);
    QTimer::singleShot(300, form, [form] { form->QueryButton()->click(); });
    // Four seconds to look at it, then the query goes on to its end.
    QTimer::singleShot(4000, form, [&gate] { gate.Open(); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("meter");
    return mode == QLatin1String("query") ? ShowQuery() : ShowMeters();
}
