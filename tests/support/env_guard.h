// Sets an environment variable for as long as the guard lives and puts the
// old value (or its absence) back when it goes, also when an assertion ends
// the test early.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace dorvane::test {

class TEnvGuard {
public:
    TEnvGuard(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~TEnvGuard() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    TEnvGuard(const TEnvGuard&) = delete;
    TEnvGuard& operator=(const TEnvGuard&) = delete;

    void Set(const std::string& value) const { setenv(name_.c_str(), value.c_str(), 1); }

private:
    std::string name_;
    std::optional<std::string> old_;
};

} // namespace dorvane::test
