// An environment variable put back as it was when the test ends, however it ends.
#pragma once

#include <cstdlib>
#include <string>

class KeptVariable {
  public:
    explicit KeptVariable(const char* name) : name_(name), had_(std::getenv(name) != nullptr) {
        if (had_) value_ = std::getenv(name);
    }
    ~KeptVariable() { had_ ? setenv(name_, value_.c_str(), 1) : unsetenv(name_); }
    KeptVariable(const KeptVariable&) = delete;
    KeptVariable& operator=(const KeptVariable&) = delete;

  private:
    const char* name_;
    bool had_;
    std::string value_;
};
