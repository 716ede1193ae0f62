// SPDX-License-Identifier: GPL-3.0-or-later
#include "reader/WorkerConfinement.h"

#include <QFile>

#include <linux/landlock.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <seccomp.h>
#include <unistd.h>

namespace {

// What a reading process may use. Address space: a large capture and its working copies stay far below.
#ifndef __SANITIZE_ADDRESS__
constexpr rlim_t addressSpaceBytes = rlim_t(2) * 1024 * 1024 * 1024;
#endif
constexpr rlim_t openFiles = 64;
// A backstop only: the reading process is retired long before a screenshot's deadline adds up to it.
constexpr rlim_t cpuSeconds = 900;

// Landlock's constants beyond the kernel headers Debian 12 builds against; the kernel is asked
// which of them it knows.
constexpr quint64 fsExecute = 1ull << 0;
constexpr quint64 fsReadFile = 1ull << 2;
constexpr quint64 fsReadDir = 1ull << 3;
constexpr quint64 fsAbi1 = (1ull << 13) - 1;
constexpr quint64 fsRefer = 1ull << 13;
constexpr quint64 fsTruncate = 1ull << 14;
constexpr quint64 fsIoctlDev = 1ull << 15;
constexpr quint64 netBindAndConnectTcp = 3;
constexpr quint64 scopeAbstractSocketsAndSignals = 3;

struct RulesetAttributes
{
    quint64 handledAccessFs = 0;
    quint64 handledAccessNet = 0;
    quint64 scoped = 0;
};

// Always present on a Linux system; missing ones are skipped.
const char *const systemFolders[] = {
    "/usr", "/etc", "/lib", "/lib64", "/sys/devices/system/cpu", "/proc/self", "/var/cache/fontconfig"};

QString errorText(const char *what, int error = errno)
{
    return QStringLiteral("%1 failed (%2)")
        .arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(error)));
}

QString limitResources()
{
    const auto limit = [](int resource, rlim_t value) {
        const rlimit bounds{value, value};
        return setrlimit(resource, &bounds) == 0;
    };
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer reserves terabytes of address space for its shadow.
    if (!limit(RLIMIT_AS, addressSpaceBytes))
        return errorText("limiting the address space");
#endif
    if (!limit(RLIMIT_NOFILE, openFiles) || !limit(RLIMIT_CPU, cpuSeconds) || !limit(RLIMIT_CORE, 0))
        return errorText("limiting resources");
    return {};
}

int landlockAbi()
{
    return int(syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION));
}

// Nothing to do on a kernel without Landlock; the seccomp filter still holds.
QString restrictFileSystem(const QStringList &readable)
{
    const int abi = landlockAbi();
    if (abi < 1)
        return {};
    RulesetAttributes attributes;
    attributes.handledAccessFs =
        fsAbi1 | (abi >= 2 ? fsRefer : 0) | (abi >= 3 ? fsTruncate : 0) | (abi >= 5 ? fsIoctlDev : 0);
    size_t size = sizeof(quint64);
    if (abi >= 4) {
        attributes.handledAccessNet = netBindAndConnectTcp;
        size = 2 * sizeof(quint64);
    }
    if (abi >= 6) {
        attributes.scoped = scopeAbstractSocketsAndSignals;
        size = sizeof attributes;
    }
    const int ruleset = int(syscall(SYS_landlock_create_ruleset, &attributes, size, 0));
    if (ruleset < 0)
        return errorText("creating the Landlock rules");
    const std::unique_ptr<int, void (*)(int *)> owner(new int(ruleset), [](int *fd) {
        close(*fd);
        delete fd;
    });
    QStringList folders = readable;
    for (const char *folder : systemFolders)
        folders.append(QFile::decodeName(folder));
    for (const QString &folder : std::as_const(folders)) {
        const int fd = open(QFile::encodeName(folder).constData(), O_PATH | O_CLOEXEC);
        if (fd < 0)
            continue;
        landlock_path_beneath_attr rule{fsExecute | fsReadFile | fsReadDir, fd};
        const long added = syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0);
        const int error = errno;
        close(fd);
        // A file, not a folder, takes only the file rights.
        if (added != 0 && error == EINVAL) {
            const int file = open(QFile::encodeName(folder).constData(), O_PATH | O_CLOEXEC);
            landlock_path_beneath_attr fileRule{fsReadFile, file};
            const long retried =
                syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &fileRule, 0);
            close(file);
            if (retried == 0)
                continue;
        }
        if (added != 0)
            return errorText("adding a Landlock rule", error);
    }
    if (syscall(SYS_landlock_restrict_self, ruleset, 0) != 0)
        return errorText("applying the Landlock rules");
    return {};
}

// Allows what decoding and recognition need and denies, with EPERM, what they never do.
QString filterSystemCalls()
{
    const std::unique_ptr<void, void (*)(scmp_filter_ctx)> filter(seccomp_init(SCMP_ACT_ALLOW),
                                                                  seccomp_release);
    if (!filter)
        return QStringLiteral("setting up the system-call filter failed");
    const auto deny = [&filter](int call) {
        return seccomp_rule_add(filter.get(), SCMP_ACT_ERRNO(EPERM), call, 0) == 0;
    };
    bool ok = true;
    for (const int call : {SCMP_SYS(socket),
                           SCMP_SYS(socketpair),
                           SCMP_SYS(connect),
                           SCMP_SYS(bind),
                           SCMP_SYS(listen),
                           SCMP_SYS(accept),
                           SCMP_SYS(accept4),
                           SCMP_SYS(execve),
                           SCMP_SYS(execveat),
                           SCMP_SYS(fork),
                           SCMP_SYS(vfork),
                           SCMP_SYS(ptrace),
                           SCMP_SYS(process_vm_readv),
                           SCMP_SYS(process_vm_writev),
                           SCMP_SYS(tkill),
                           SCMP_SYS(creat),
                           SCMP_SYS(mkdir),
                           SCMP_SYS(mkdirat),
                           SCMP_SYS(unlink),
                           SCMP_SYS(unlinkat),
                           SCMP_SYS(rmdir),
                           SCMP_SYS(rename),
                           SCMP_SYS(renameat),
                           SCMP_SYS(renameat2),
                           SCMP_SYS(link),
                           SCMP_SYS(linkat),
                           SCMP_SYS(symlink),
                           SCMP_SYS(symlinkat),
                           SCMP_SYS(mknod),
                           SCMP_SYS(mknodat),
                           SCMP_SYS(chmod),
                           SCMP_SYS(fchmod),
                           SCMP_SYS(fchmodat),
                           SCMP_SYS(chown),
                           SCMP_SYS(fchown),
                           SCMP_SYS(lchown),
                           SCMP_SYS(fchownat),
                           SCMP_SYS(truncate),
                           SCMP_SYS(utimes),
                           SCMP_SYS(utimensat),
                           SCMP_SYS(setxattr),
                           SCMP_SYS(lsetxattr),
                           SCMP_SYS(fsetxattr),
                           SCMP_SYS(removexattr),
                           SCMP_SYS(lremovexattr),
                           SCMP_SYS(fremovexattr),
                           SCMP_SYS(mount),
                           SCMP_SYS(umount2),
                           SCMP_SYS(pivot_root),
                           SCMP_SYS(chroot),
                           SCMP_SYS(unshare),
                           SCMP_SYS(setns),
                           SCMP_SYS(bpf),
                           SCMP_SYS(perf_event_open),
                           SCMP_SYS(userfaultfd),
                           SCMP_SYS(keyctl),
                           SCMP_SYS(add_key),
                           SCMP_SYS(request_key),
                           SCMP_SYS(init_module),
                           SCMP_SYS(finit_module),
                           SCMP_SYS(delete_module),
                           SCMP_SYS(kexec_load),
                           SCMP_SYS(reboot),
                           SCMP_SYS(swapon),
                           SCMP_SYS(swapoff),
                           SCMP_SYS(io_uring_setup),
                           SCMP_SYS(io_uring_enter),
                           SCMP_SYS(io_uring_register),
                           SCMP_SYS(open_by_handle_at),
                           SCMP_SYS(name_to_handle_at),
                           SCMP_SYS(fanotify_init),
                           SCMP_SYS(personality),
                           SCMP_SYS(acct),
                           SCMP_SYS(quotactl)})
        ok = ok && deny(call);
    // Threads only: a new process would escape nothing, but there is no reason for one.
    ok = ok && seccomp_rule_add(filter.get(), SCMP_ACT_ERRNO(EPERM), SCMP_SYS(clone), 1,
                                SCMP_A0(SCMP_CMP_MASKED_EQ, CLONE_THREAD, 0)) == 0;
    // Its flags cannot be inspected; the C library then falls back to clone.
    ok = ok && seccomp_rule_add(filter.get(), SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(clone3), 0) == 0;
    ok = ok && seccomp_rule_add(filter.get(), SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(openat2), 0) == 0;
    // Signals to itself only.
    const auto self = scmp_datum_t(getpid());
    for (const int call : {SCMP_SYS(kill), SCMP_SYS(tgkill)})
        ok = ok &&
             seccomp_rule_add(filter.get(), SCMP_ACT_ERRNO(EPERM), call, 1, SCMP_A0(SCMP_CMP_NE, self)) == 0;
    for (const scmp_datum_t flag : {O_WRONLY, O_RDWR, O_CREAT, O_TRUNC, O_APPEND}) {
        ok = ok && seccomp_rule_add(filter.get(), SCMP_ACT_ERRNO(EPERM), SCMP_SYS(open), 1,
                                    SCMP_A1(SCMP_CMP_MASKED_EQ, flag, flag)) == 0;
        ok = ok && seccomp_rule_add(filter.get(), SCMP_ACT_ERRNO(EPERM), SCMP_SYS(openat), 1,
                                    SCMP_A2(SCMP_CMP_MASKED_EQ, flag, flag)) == 0;
    }
    if (!ok)
        return QStringLiteral("setting up the system-call filter failed");
    if (const int error = seccomp_load(filter.get()); error != 0)
        return errorText("applying the system-call filter", -error);
    return {};
}

} // namespace

namespace WorkerConfinement {

QString confine(const QStringList &readable)
{
    if (QString problem = limitResources(); !problem.isEmpty())
        return problem;
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return errorText("giving up new privileges");
    if (QString problem = restrictFileSystem(readable); !problem.isEmpty())
        return problem;
    return filterSystemCalls();
}

bool restrictsFileSystem()
{
    return landlockAbi() >= 1;
}

} // namespace WorkerConfinement
