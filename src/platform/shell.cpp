#include "platform/shell.h"

#include "platform/error.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace hxq::platform {
namespace {

// What execvp falls back to without PATH.
constexpr const char* kDefaultPath = "/usr/local/bin:/usr/bin:/bin";

bool is_executable_file(const std::filesystem::path& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(file.c_str(), X_OK) == 0;
}

// A file descriptor closed when it goes.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

struct Pipe {
    Fd read, write;
};

Pipe make_pipe() {
    std::array<int, 2> fds{};
    if (::pipe2(fds.data(), O_CLOEXEC) != 0) throw Error(75, "shell", std::string("pipe: ") + std::strerror(errno));
    return Pipe{Fd(fds[0]), Fd(fds[1])};
}

class FileActions {
public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

class SpawnAttributes {
public:
    SpawnAttributes() { posix_spawnattr_init(&attr_); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attr_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* get() { return &attr_; }

private:
    posix_spawnattr_t attr_;
};

// The child starts with every signal at its default and none blocked, whatever the host
// has set up for itself (an ignored SIGPIPE would otherwise be inherited).
void clean_signals(SpawnAttributes& attr, short extra_flags) {
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(attr.get(), &all);
    posix_spawnattr_setsigmask(attr.get(), &none);
    posix_spawnattr_setflags(attr.get(), static_cast<short>(POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | extra_flags));
}

pid_t spawn(const std::vector<std::string>& argv, FileActions& actions, SpawnAttributes& attr) {
    if (argv.empty()) throw Error(5, "shell", "Invalid procedure call or argument: no program to start");
    const auto program = find_program(argv.front());
    if (program.empty()) throw Error(53, "shell", "File not found: " + argv.front());
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, program.c_str(), actions.get(), attr.get(), args.data(), environ);
    if (rc != 0) {
        const int number = rc == ENOENT ? 53 : 75;
        throw Error(number, "shell", "Cannot start " + program.string() + ": " + std::strerror(rc));
    }
    return pid;
}

int wait_for(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;  // ECHILD: the host ignores SIGCHLD and the kernel reaped it
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Reads both pipes until the child has closed them, so that neither can fill up and
// stall it.
void drain(Fd& out_fd, Fd& err_fd, ProcessResult& result) {
    std::array<char, 4096> buffer{};
    std::array<pollfd, 2> fds{pollfd{out_fd.get(), POLLIN, 0}, pollfd{err_fd.get(), POLLIN, 0}};
    std::array<std::string*, 2> sinks{&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            const ssize_t n = ::read(fds[i].fd, buffer.data(), buffer.size());
            if (n > 0) {
                sinks[i]->append(buffer.data(), static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;  // poll skips negative descriptors
                --open;
            }
        }
    }
}

}  // namespace

std::filesystem::path find_program(std::string_view program) {
    if (program.empty()) return {};
    if (program.find('/') != std::string_view::npos)
        return is_executable_file(std::filesystem::path(program)) ? std::filesystem::path(program)
                                                                  : std::filesystem::path();
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : kDefaultPath;
    while (true) {
        const auto colon = folders.find(':');
        std::string_view folder = folders.substr(0, colon);
        if (folder.empty()) folder = ".";  // an empty entry is the current folder
        const auto candidate = std::filesystem::path(folder) / program;
        if (is_executable_file(candidate)) return candidate;
        if (colon == std::string_view::npos) break;
        folders.remove_prefix(colon + 1);
    }
    return {};
}

ProcessResult run_program(const std::vector<std::string>& argv) {
    Pipe out = make_pipe();
    Pipe err = make_pipe();
    FileActions actions;
    posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.get(), out.write.get(), 1);
    posix_spawn_file_actions_adddup2(actions.get(), err.write.get(), 2);
    SpawnAttributes attr;
    clean_signals(attr, 0);
    const pid_t pid = spawn(argv, actions, attr);
    // Our copies of the write ends go, so the reads end when the child's do.
    out.write.reset();
    err.write.reset();
    ProcessResult result;
    drain(out.read, err.read, result);
    result.exit_code = wait_for(pid);
    return result;
}

void start_detached(const std::vector<std::string>& argv) {
    FileActions actions;
    posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(actions.get(), 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(actions.get(), 2, "/dev/null", O_WRONLY, 0);
    SpawnAttributes attr;
    // Its own session: a Ctrl+C in the terminal that started the host leaves the viewer open.
    clean_signals(attr, POSIX_SPAWN_SETSID);
    const pid_t pid = spawn(argv, actions, attr);
    try {
        std::thread([pid] { wait_for(pid); }).detach();
    } catch (const std::system_error&) {
        // The program runs all the same; without a thread it stays a zombie until the host exits.
    }
}

}  // namespace hxq::platform
