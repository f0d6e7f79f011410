#pragma once
// A box or dialog runs an event loop of its own, and that loop delivers the
// follower's timers too: an automatic pass run from there could rebuild the
// very window that owns the box. Every box and dialog the program opens is
// shown inside a ModalScope, and no automatic pass starts while one is open.

namespace zb {

class ModalScope {
  public:
    ModalScope() { ++depth_; }
    ~ModalScope() { --depth_; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    // A box or modal dialog of the program is open (Qt's own included).
    static bool Open();

  private:
    static inline int depth_ = 0;
};

}  // namespace zb
