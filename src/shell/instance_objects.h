// The two objects by which copies of the program find each other, as files
// in the user's runtime folder:
//
//   KvoDorvaneEvent  a lock the running copy holds for its whole run. The
//                    kernel drops it with the process, so a copy that was
//                    killed leaves nothing that blocks the next start.
//   KvoDorvaneMap    the hand-over block: 8192 bytes shared between
//                    processes, holding one UTF-16 text with a terminating
//                    zero. Its owner keeps a shared lock on it while it runs;
//                    a block nobody holds is the remains of a killed copy and
//                    is not written to.
//
// Both are opened without following links and only when they are regular
// files of this user.
#pragma once

#include <QString>

#include <chrono>

namespace dorvane {

// The folder of the copies' meeting points: $XDG_RUNTIME_DIR when it is
// this user's alone (owner, mode 0700), otherwise a folder of our own in
// the user's cache, checked the same way. Empty when there is no such
// folder: then every start runs on its own.
QString InstanceFolder();

class TInstanceEvent {
public:
    explicit TInstanceEvent(QString path);
    ~TInstanceEvent();
    TInstanceEvent(const TInstanceEvent&) = delete;
    TInstanceEvent& operator=(const TInstanceEvent&) = delete;

    // Takes the lock, trying for at most wait; true when this process holds
    // it now (also when it held it already).
    bool TryAcquire(std::chrono::milliseconds wait);
    bool Held() const { return held_; }
    void Release();

private:
    QString path_;
    int fd_ = -1;
    bool held_ = false;
};

class THandOverBlock {
public:
    THandOverBlock() = default;
    ~THandOverBlock();
    THandOverBlock(const THandOverBlock&) = delete;
    THandOverBlock& operator=(const THandOverBlock&) = delete;

    // The running copy's block: a new file in place of whatever was there,
    // all zero but for idleText. False when it cannot be made.
    bool Create(const QString& path, const QString& idleText);
    // A later start's view of the running copy's block; false when there is
    // none, or only a dead copy's.
    bool OpenExisting(const QString& path);
    bool IsOpen() const { return data_ != nullptr; }
    void Close();

    // The text up to its terminator (at most 4095 characters).
    QString ReadText() const;
    // Zero-fills the block and writes text with its terminator; a text over
    // 4095 characters is not written.
    bool WriteText(const QString& text);

private:
    int fd_ = -1;
    char16_t* data_ = nullptr;
    bool owner_ = false;
    QString path_;
    unsigned long long inode_ = 0; // the owner's file, removed at the end
    unsigned long long device_ = 0;
};

} // namespace dorvane
