// The system's master volume and mute. A mixer that is not available does
// nothing: its reads give 0 and off, its writes are dropped and it never
// sends a notice, so the volume controls are simply disabled. The object
// lives on the user-interface thread and its notices arrive there.
#pragma once

#include <QObject>

namespace dorvane {

class TMixerPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual bool Available() const = 0;
    // 0..100: the loudest channel, scaled from the control's range.
    virtual int Volume() const = 0;
    // Sets every channel to percent (clamped to 0..100).
    virtual void SetVolume(int percent) = 0;
    virtual bool Mute() const = 0;
    virtual void SetMute(bool on) = 0;

signals:
    // Someone (this program or another) changed the volume or the mute.
    void VolumeChanged(int percent);
    void MuteChanged(bool on);
};

} // namespace dorvane
