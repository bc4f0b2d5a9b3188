// Opens a URL with xdg-open, detached: a double fork, so the opener is never our child to wait
// for, and no shell, so the URL is never parsed as a command.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/shell.h"

extern char** environ;

namespace plat {

namespace {

constexpr const char* kOpener = "xdg-open";
constexpr const char* kDefaultPath = "/usr/local/bin:/usr/bin:/bin";

// Every place PATH names for the opener, worked out before the fork: the child may only make
// async-signal-safe calls.
std::vector<std::string> OpenerCandidates() {
    const char* path = std::getenv("PATH");
    const std::string directories = path != nullptr && *path != '\0' ? path : kDefaultPath;
    std::vector<std::string> candidates;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = directories.find(':', start);
        std::string directory = directories.substr(start, end - start);
        candidates.push_back((directory.empty() ? std::string(".") : directory) + "/" + kOpener);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return candidates;
}

[[noreturn]] void RunOpener(const std::vector<std::string>& candidates, char* const argv[]) {
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
    }
    // The opener and the browser it starts get none of our descriptors (the socket above all).
    close_range(3, ~0u, 0);
    setsid();
    for (const std::string& candidate : candidates) {
        execve(candidate.c_str(), argv, environ);
    }
    _exit(127);
}

class XdgOpenShellService final : public ShellService {
  public:
    void Open(const std::u16string& url) override {
        std::string opener = kOpener;
        std::string target = WideToUtf8(url);
        char* argv[] = {opener.data(), target.data(), nullptr};
        const std::vector<std::string> candidates = OpenerCandidates();
        const pid_t child = fork();
        if (child < 0) {
            return;
        }
        if (child == 0) {
            const pid_t grandchild = fork();
            if (grandchild == 0) {
                RunOpener(candidates, argv);
            }
            _exit(0);
        }
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
};

}  // namespace

ShellService& RealShellService() {
    static auto* service = new XdgOpenShellService();
    return *service;
}

}  // namespace plat
