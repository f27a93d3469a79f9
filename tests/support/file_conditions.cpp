#include "file_conditions.h"


#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#endif

namespace {
#ifdef Q_OS_LINUX
constexpr int kNobody = 65534;
#endif
} // namespace

WithoutFilePrivileges::WithoutFilePrivileges()
{
#ifdef Q_OS_LINUX
    if (::geteuid() == 0) {
        ::setfsgid(kNobody);
        ::setfsuid(kNobody);
        // Asking with an invalid id changes nothing and tells the current one.
        m_switched = int(::setfsuid(uid_t(-1))) == kNobody;
        if (!m_switched)
            ::setfsgid(0);
    }
#endif
}

WithoutFilePrivileges::~WithoutFilePrivileges()
{
#ifdef Q_OS_LINUX
    if (m_switched) {
        ::setfsuid(0);
        ::setfsgid(0);
    }
#endif
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
#ifdef Q_OS_UNIX
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_oldSoft = limit.rlim_cur;
    if (limit.rlim_max != RLIM_INFINITY && rlim_t(bytes) > limit.rlim_max)
        return;
    m_oldHandler = reinterpret_cast<void *>(std::signal(SIGXFSZ, SIG_IGN));
    limit.rlim_cur = rlim_t(bytes);
    m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (!m_active)
        std::signal(SIGXFSZ, reinterpret_cast<void (*)(int)>(m_oldHandler));
#else
    Q_UNUSED(bytes);
#endif
}

FileSizeLimit::~FileSizeLimit()
{
#ifdef Q_OS_UNIX
    if (!m_active)
        return;
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_oldSoft);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, reinterpret_cast<void (*)(int)>(m_oldHandler));
#endif
}

bool canCreateFileIn(const QString &dir)
{
    QFile probe(QDir(dir).filePath(QStringLiteral("probe.tmp")));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}
