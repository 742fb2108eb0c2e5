#pragma once
// An Xvfb of its own for a test or benchmark that needs an X server: it picks a free display
// number itself (-displayfd), so parallel runs never meet, and is stopped with the object.
#include <sys/types.h>

#include <string>

class Xvfb_Server {
public:
    // Starts Xvfb with one screen of the given size; display() is empty when that failed.
    explicit Xvfb_Server(const char* screen = "1024x768x24");
    ~Xvfb_Server();
    // ":N", or empty.
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    int pipe_ = -1;  // the display-number pipe, open while the server runs
    std::string display_;

    Xvfb_Server(const Xvfb_Server&) = delete;
    Xvfb_Server& operator=(const Xvfb_Server&) = delete;
};
