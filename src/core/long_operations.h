// The long file operations under way (the music player's folder searches):
// the program refuses to close while one runs, since ending it would throw
// away what the operation is collecting. Used on the UI thread only.
#pragma once

namespace dorvane {

class TLongOperations {
public:
    bool Running() const { return count_ > 0; }
    int Count() const { return count_; }

    // One operation for as long as it lives.
    class TScope {
    public:
        explicit TScope(TLongOperations& operations) : operations_(operations) {
            ++operations_.count_;
        }
        ~TScope() { --operations_.count_; }
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;

    private:
        TLongOperations& operations_;
    };

private:
    int count_ = 0;
};

} // namespace dorvane
