// The mixer where there is none to open: no card of that name, or no such
// control on the card. It must say so and do nothing else.
#include "music/backends/alsa_mixer.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace dorvane {
namespace {

TEST(AlsaMixer, AnAbsentMixerIsUnavailableAndSilent) {
    const std::pair<QString, QString> absent[] = {
        {QStringLiteral("hw:97"), QStringLiteral("Master")},
        {QStringLiteral("no-such-card"), QStringLiteral("Master")},
        {QStringLiteral("default"), QStringLiteral("No Such Control")},
    };
    for (const auto& [card, control] : absent) {
        const auto mixer = OpenAlsaMixer(card, control);
        int notices = 0;
        QObject::connect(mixer.get(), &TMixerPort::VolumeChanged, [&] { ++notices; });
        QObject::connect(mixer.get(), &TMixerPort::MuteChanged, [&] { ++notices; });
        EXPECT_FALSE(mixer->Available()) << card.toStdString();
        mixer->SetVolume(40);
        mixer->SetMute(true);
        QCoreApplication::processEvents();
        EXPECT_EQ(mixer->Volume(), 0);
        EXPECT_FALSE(mixer->Mute());
        EXPECT_EQ(notices, 0);
        EXPECT_TRUE(mixer->findChildren<QObject*>().isEmpty()) << "nothing watched";
    }
}

} // namespace
} // namespace dorvane
