// Records URLs instead of opening them.
#include "platform/testing/fakes.h"

namespace plat::testing {

FakeShell::FakeShell() {
    SetShellService(this);
}

FakeShell::~FakeShell() {
    SetShellService(nullptr);
}

void FakeShell::Open(const std::u16string& url) {
    std::lock_guard lock(mutex_);
    opened_.push_back(url);
}

std::vector<std::u16string> FakeShell::Opened() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

}  // namespace plat::testing
