#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/other_copy.h"

namespace testsupport {

OtherCopy::OtherCopy(const std::function<bool()>& work) {
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

void OtherCopy::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

}  // namespace testsupport
