// Running part of a test in a forked child process, for the faults that must not reach the
// test program itself: a file-size limit that stands for a full disk, and a user without the
// superuser's rights, so that a read-only folder is read-only whoever runs the tests.
#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace child_process {

// Runs `body` in a child and returns its exit status, or -1 when the child ended by a signal
// (a crash), so that a crash fails the test instead of ending the test program.
inline int exitStatusOf(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child < 0) return -2;
    if (child == 0) ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Limits every file the calling process writes to `bytes`: writes past the limit then fail as
// on a full disk, instead of the process being killed by SIGXFSZ.
inline void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// Gives up the superuser's rights (to "nobody"), so that file permissions apply; true when the
// process has no such rights afterwards. Only for a child: it cannot be undone.
inline bool withoutSuperuserRights()
{
    if (::geteuid() != 0) return true;
    constexpr uid_t kNobody = 65534;
    return ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && ::geteuid() == kNobody;
}

}  // namespace child_process
