/* Runs a command as on a kernel that runs no 32-bit x86 programs, to try the emulated 32-bit path
   of scripts/runs-32bit, scripts/install-deps and the Wine wrappers on a machine whose kernel does
   run them: executing an i386 ELF file fails with ENOEXEC ("Exec format error"), and a 32-bit
   system call kills its process. A supervisor process answers the execve calls of the command and
   all its descendants (seccomp's user notification, Linux 5.9 or later). Not part of any build:
     gcc -O2 -static -o /usr/local/bin/no-32bit scripts/no-32bit.c
     no-32bit scripts/test */
#define _GNU_SOURCE
#include <elf.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

static int is_i386(pid_t pid, unsigned long long addr, int dirfd_arg, int at) {
    char path[4096], full[8192], mem[64];
    snprintf(mem, sizeof mem, "/proc/%d/mem", pid);
    int m = open(mem, O_RDONLY);
    if (m < 0)
        return 0;
    ssize_t n = pread(m, path, sizeof path - 1, (off_t)addr);
    close(m);
    if (n <= 0)
        return 0;
    path[n] = 0;
    path[strnlen(path, sizeof path - 1)] = 0;
    if (path[0] == '/')
        snprintf(full, sizeof full, "%s", path);
    else if (at && dirfd_arg != AT_FDCWD)
        snprintf(full, sizeof full, "/proc/%d/fd/%d/%s", pid, dirfd_arg, path);
    else
        snprintf(full, sizeof full, "/proc/%d/cwd/%s", pid, path);
    int f = open(full, O_RDONLY);
    if (f < 0)
        return 0;
    unsigned char h[20];
    n = read(f, h, sizeof h);
    close(f);
    return n == 20 && memcmp(h, ELFMAG, 4) == 0 && h[EI_CLASS] == ELFCLASS32 && h[18] == EM_386;
}

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    int sync[2], go[2];
    if (pipe(sync) || pipe(go))
        return 2;
    pid_t child = fork();
    if (child == 0) {
        struct sock_filter f[] = {
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_I386, 0, 1),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_execve, 1, 0),
            BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_execveat, 0, 1),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF),
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        };
        struct sock_fprog p = {sizeof f / sizeof f[0], f};
        if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0)) {
            perror("no32");
            _exit(2);
        }
        int fd =
            syscall(__NR_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_NEW_LISTENER, &p);
        if (fd < 0) {
            perror("no32 seccomp");
            _exit(2);
        }
        write(sync[1], &fd, sizeof fd);
        char c;
        read(go[0], &c, 1); /* until the supervisor holds the listener */
        close(fd);
        close(sync[0]);
        close(sync[1]);
        execvp(argv[1], argv + 1);
        perror(argv[1]);
        _exit(127);
    }
    int fd;
    if (read(sync[0], &fd, sizeof fd) != sizeof fd)
        return 2;
    int pidfd = syscall(SYS_pidfd_open, child, 0);
    int listener = syscall(SYS_pidfd_getfd, pidfd, fd, 0);
    if (listener < 0) {
        perror("no32 pidfd_getfd");
        return 2;
    }
    write(go[1], "x", 1);
    close(sync[0]);
    close(sync[1]);
    if (fork() == 0) { /* the supervisor: lives until the last filtered process is gone */
        struct seccomp_notif req;
        struct seccomp_notif_resp resp;
        for (;;) {
            struct pollfd pfd = {listener, POLLIN, 0};
            if (poll(&pfd, 1, -1) < 0 && errno != EINTR)
                _exit(0);
            if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL))
                _exit(0);
            if (!(pfd.revents & POLLIN))
                continue;
            memset(&req, 0, sizeof req);
            if (ioctl(listener, SECCOMP_IOCTL_NOTIF_RECV, &req))
                continue;
            memset(&resp, 0, sizeof resp);
            resp.id = req.id;
            int at = req.data.nr == __NR_execveat;
            if (is_i386(req.pid, at ? req.data.args[1] : req.data.args[0], (int)req.data.args[0],
                        at))
                resp.error = -ENOEXEC;
            else
                resp.flags = SECCOMP_USER_NOTIF_FLAG_CONTINUE;
            ioctl(listener, SECCOMP_IOCTL_NOTIF_SEND, &resp);
        }
    }
    close(listener);
    int status;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
