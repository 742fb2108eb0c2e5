#include "xvfb_server.h"

#include <fcntl.h>
#include <signal.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

Xvfb_Server::Xvfb_Server(const char* screen)
{
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        // Nothing of the caller's output may stay open in the server: a pipe reading it would
        // wait for the server to end.
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 0);
        dup2(devnull, 1);
        dup2(devnull, 2);
        // -noreset: by default the server resets when its last client leaves, and a program
        // connecting in that moment is refused (SDL then draws off screen and no window shows).
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp", "-noreset",
               (char*)nullptr);
        _exit(127);
    }
    close(fds[1]);
    // Read up to the line break, and keep the pipe open while the server runs: the server may
    // write the number and the break separately, and ends itself when a write fails.
    pipe_ = fds[0];
    std::string number;
    char c = 0;
    while (pid_ > 0 && read(pipe_, &c, 1) == 1 && c != '\n') number += c;
    if (!number.empty()) display_ = ":" + number;
}

Xvfb_Server::~Xvfb_Server()
{
    if (pipe_ >= 0) close(pipe_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}
