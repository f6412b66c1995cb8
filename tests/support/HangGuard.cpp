#include "tests/support/HangGuard.h"

#include <cstdio>
#include <cstdlib>

namespace tarnel::test {

HangGuard::HangGuard(std::chrono::milliseconds deadline, std::string what)
    : m_thread([this, deadline, what = std::move(what)] {
          std::unique_lock lock(m_mutex);
          if (m_cond.wait_for(lock, deadline, [this] { return m_disarmed; })) return;
          std::fprintf(stderr, "hang: %s did not finish within %lld ms\n", what.c_str(),
                       static_cast<long long>(deadline.count()));
          std::fflush(stderr);
          std::_Exit(EXIT_FAILURE);
      }) {}

HangGuard::~HangGuard() {
    {
        std::lock_guard lock(m_mutex);
        m_disarmed = true;
    }
    m_cond.notify_all();
    m_thread.join();
}

}  // namespace tarnel::test
