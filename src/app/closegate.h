#pragma once
// When a close from outside may destroy the window. A loop of the system's
// (a menu, a drag, the shell at work) or a step of the list's work that lets
// messages in runs with this record's operations on the stack: a close that
// arrives then waits until the outermost of them has returned, and goes
// through the message loop as usual. Between such steps a close goes ahead
// at once, so no fill, however long, keeps the window open.

#include <windows.h>

class CloseGate {
  public:
    explicit CloseGate(HWND window) : window_(window) {}
    CloseGate(const CloseGate&) = delete;
    CloseGate& operator=(const CloseGate&) = delete;

    // Held while such a loop or step runs.
    class Hold {
      public:
        explicit Hold(CloseGate& gate) : gate_(gate) { ++gate_.holds_; }
        ~Hold() { gate_.Leave(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        CloseGate& gate_;
    };

    // A close from outside: false when it may go ahead now. Otherwise it
    // waits, and a menu under way is asked to end.
    bool Defer();
    // A close waits: nothing new (a refresh, the next slice) is begun.
    bool Waiting() const { return waiting_; }
    // What a drag looks at to learn that it is to be cancelled.
    const bool* WaitingFlag() const { return &waiting_; }

  private:
    void Leave();

    HWND window_;
    int holds_ = 0;
    bool waiting_ = false;
};
