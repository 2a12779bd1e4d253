// ALSA stays inside this file. The mixer's events are read on the
// user-interface thread: a QSocketNotifier for each of the mixer's poll
// descriptors wakes us, snd_mixer_handle_events brings the element up to
// date, and a notice goes out only for what really changed.
#include "music/backends/alsa_mixer.h"

#include "music/mixer_scale.h"

#include <QSocketNotifier>

#include <alsa/asoundlib.h>

#include <memory>
#include <mutex>
#include <vector>

namespace dorvane {
namespace {

// ALSA reports a missing card or control on stderr; here that is an ordinary
// answer (no mixer, the volume controls stay disabled) and the program keeps
// no log.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

struct TMixerCloser {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using TMixerHandle = std::unique_ptr<snd_mixer_t, TMixerCloser>;

struct TSelemIdDeleter {
    void operator()(snd_mixer_selem_id_t* id) const { snd_mixer_selem_id_free(id); }
};

class TAlsaMixer final : public TMixerPort {
public:
    TAlsaMixer(const QString& card, const QString& control, QObject* parent) : TMixerPort(parent) {
        Open(card.toLocal8Bit(), control.toLocal8Bit());
        if (!elem_) {
            mixer_.reset();
            return;
        }
        volume_ = Volume();
        mute_ = Mute();
        WatchEvents();
    }

    // The notifiers go before the descriptors they watch close, and the
    // element's callback before the mixer frees the element.
    ~TAlsaMixer() override {
        qDeleteAll(findChildren<QSocketNotifier*>());
        if (elem_) snd_mixer_elem_set_callback(elem_, nullptr);
    }
    TAlsaMixer(const TAlsaMixer&) = delete;
    TAlsaMixer& operator=(const TAlsaMixer&) = delete;

    bool Available() const override { return elem_ != nullptr; }

    int Volume() const override {
        if (!elem_) return 0;
        std::vector<long> channels;
        for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
            const auto channel = snd_mixer_selem_channel_id_t(c);
            long value = 0;
            if (snd_mixer_selem_has_playback_channel(elem_, channel) &&
                snd_mixer_selem_get_playback_volume(elem_, channel, &value) == 0)
                channels.push_back(value);
        }
        return LoudestChannelPercent(channels, minimum_, maximum_);
    }

    void SetVolume(int percent) override {
        if (!elem_) return;
        snd_mixer_selem_set_playback_volume_all(elem_, MixerRaw(percent, minimum_, maximum_));
    }

    // A switch that is off is a muted line; the first channel speaks for all,
    // as SetMute sets them together.
    bool Mute() const override {
        if (!elem_) return false;
        int on = 1;
        if (snd_mixer_selem_get_playback_switch(elem_, SND_MIXER_SCHN_FRONT_LEFT, &on) != 0)
            return false;
        return on == 0;
    }

    void SetMute(bool on) override {
        if (!elem_) return;
        snd_mixer_selem_set_playback_switch_all(elem_, on ? 0 : 1);
    }

private:
    void Open(const QByteArray& card, const QByteArray& control) {
        snd_mixer_t* raw = nullptr;
        if (snd_mixer_open(&raw, 0) != 0 || raw == nullptr) return;
        mixer_.reset(raw);
        if (snd_mixer_attach(raw, card.constData()) != 0 ||
            snd_mixer_selem_register(raw, nullptr, nullptr) != 0 || snd_mixer_load(raw) != 0)
            return;
        snd_mixer_selem_id_t* rawId = nullptr;
        if (snd_mixer_selem_id_malloc(&rawId) != 0) return;
        const std::unique_ptr<snd_mixer_selem_id_t, TSelemIdDeleter> id(rawId);
        snd_mixer_selem_id_set_index(rawId, 0);
        snd_mixer_selem_id_set_name(rawId, control.constData());
        snd_mixer_elem_t* elem = snd_mixer_find_selem(raw, rawId);
        if (elem == nullptr || !snd_mixer_selem_has_playback_volume(elem) ||
            !snd_mixer_selem_has_playback_switch(elem))
            return;
        if (snd_mixer_selem_get_playback_volume_range(elem, &minimum_, &maximum_) != 0 ||
            maximum_ <= minimum_)
            return;
        elem_ = elem;
        // The control goes away with its card (unplugged, or the sound server
        // restarted); the element dies inside snd_mixer_handle_events then.
        snd_mixer_elem_set_callback_private(elem, this);
        snd_mixer_elem_set_callback(elem, &TAlsaMixer::ElementEvent);
    }

    static int ElementEvent(snd_mixer_elem_t* elem, unsigned int mask) {
        if (mask == SND_CTL_EVENT_MASK_REMOVE)
            static_cast<TAlsaMixer*>(snd_mixer_elem_get_callback_private(elem))->elem_ = nullptr;
        return 0;
    }

    // The mixer is gone for good: it stays unavailable and stops listening,
    // so that a dead descriptor cannot keep waking the event loop.
    void GiveUp() {
        elem_ = nullptr;
        for (QSocketNotifier* notifier : findChildren<QSocketNotifier*>()) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }

    void WatchEvents() {
        const int count = snd_mixer_poll_descriptors_count(mixer_.get());
        if (count <= 0) return;
        fds_.resize(std::size_t(count));
        if (snd_mixer_poll_descriptors(mixer_.get(), fds_.data(), unsigned(count)) != count) {
            fds_.clear();
            return;
        }
        for (const pollfd& fd : fds_) {
            auto* notifier = new QSocketNotifier(fd.fd, QSocketNotifier::Read, this);
            connect(notifier, &QSocketNotifier::activated, this, &TAlsaMixer::HandleEvents);
        }
    }

    // Runs on the user-interface thread, from the notifiers.
    void HandleEvents() {
        if (!elem_ || snd_mixer_handle_events(mixer_.get()) < 0 || !elem_) {
            GiveUp();
            return;
        }
        const int volume = Volume();
        const bool mute = Mute();
        if (volume != volume_) {
            volume_ = volume;
            emit VolumeChanged(volume);
        }
        if (mute != mute_) {
            mute_ = mute;
            emit MuteChanged(mute);
        }
    }

    TMixerHandle mixer_;
    snd_mixer_elem_t* elem_ = nullptr; // owned by mixer_
    long minimum_ = 0;
    long maximum_ = 0;
    std::vector<pollfd> fds_;
    int volume_ = 0;
    bool mute_ = false;
};

} // namespace

std::unique_ptr<TMixerPort> OpenAlsaMixer(const QString& card, const QString& control,
                                          QObject* parent) {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(QuietAlsa); });
    return std::make_unique<TAlsaMixer>(card, control, parent);
}

} // namespace dorvane
