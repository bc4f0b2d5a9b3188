// Opening a URL with the desktop's default handler.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace plat {

constexpr int SW_SHOW = 5;

class ShellService {
  public:
    virtual ~ShellService() = default;
    virtual void Open(const std::u16string& url) = 0;
};

// Starts xdg-open with the URL as its one argument, detached, never waited for; a failure to
// start it is silent.
ShellService& RealShellService();
void SetShellService(ShellService* service);  // null restores the real one

// Returns a value above 32 when the request was handed on, as the caller expects; the caller
// does not look at it.
std::intptr_t ShellExecuteW(void* window, const char16_t* verb, const char16_t* file,
                            const char16_t* parameters, const char16_t* directory, int show);

}  // namespace plat
