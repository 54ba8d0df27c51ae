#pragma once
// Another copy of the program as a real second process (a forked child): it does its work, tells
// the test, then waits until the test kills it with SIGKILL, as a user's kill -9 would. Windows
// has no fork: there the copy never becomes ready.
#include <functional>

namespace testsupport {

class OtherCopy {
  public:
    // `work` runs in the child; its result is what Ready() reports.
    explicit OtherCopy(const std::function<bool()>& work);
    ~OtherCopy() { Kill(); }
    OtherCopy(const OtherCopy&) = delete;
    OtherCopy& operator=(const OtherCopy&) = delete;

    bool Ready() const { return ready_; }
    void Kill();

  private:
    int pid_ = -1;  // the child's process id
    bool ready_ = false;
};

}  // namespace testsupport
