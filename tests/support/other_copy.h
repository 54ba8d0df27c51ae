#pragma once
// Another copy of the program as a real second process (a forked child): it does its work, tells
// the test, then waits until the test kills it with SIGKILL, as a user's kill -9 would.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace testsupport {

class OtherCopy {
public:
    // `work` runs in the child; its result is what Ready() reports.
    explicit OtherCopy(const std::function<bool()>& work) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const char ok = work() ? '1' : '0';
            if (write(fds[1], &ok, 1) != 1) _exit(2);
            for (;;) pause();
        }
        close(fds[1]);
        char ok = '0';
        ready_ = pid_ > 0 && read(fds[0], &ok, 1) == 1 && ok == '1';
        close(fds[0]);
    }
    ~OtherCopy() { Kill(); }
    OtherCopy(const OtherCopy&) = delete;
    OtherCopy& operator=(const OtherCopy&) = delete;

    bool Ready() const { return ready_; }
    void Kill() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

}  // namespace testsupport
