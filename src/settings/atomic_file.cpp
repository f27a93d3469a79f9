#include "settings/atomic_file.h"

#include <QFileInfo>
#include <QSaveFile>

#include <atomic>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::atomic<int> g_faultCount{0};
std::atomic<WriteFault> g_faultStage{WriteFault::BeforeWrite};

// Consumes one pending fault, if any.
bool takeFault(WriteFault &stage)
{
    int n = g_faultCount.load();
    while (n > 0) {
        if (g_faultCount.compare_exchange_weak(n, n - 1)) {
            stage = g_faultStage.load();
            return true;
        }
    }
    return false;
}

// Makes the rename itself durable: on POSIX systems a new directory entry is
// only safe on disk once the directory has been synced. Best effort.
void syncDirectoryOf(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

} // namespace

void injectWriteFaults(WriteFault stage, int count)
{
    g_faultStage.store(stage);
    g_faultCount.store(count > 0 ? count : 0);
}

void clearWriteFaults()
{
    g_faultCount.store(0);
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    // Never open the target itself when no temporary file can be made.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that every failed write is recorded by QSaveFile at
    // once: a failure while flushing an internal buffer inside commit() would
    // not stop the rename.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;

    WriteFault fault{};
    const bool injected = takeFault(fault);
    qsizetype toWrite = bytes.size();
    if (injected && fault == WriteFault::BeforeWrite)
        toWrite = 0;
    else if (injected && fault == WriteFault::PartialWrite)
        toWrite = bytes.size() / 2;

    bool ok = file.write(bytes.constData(), toWrite) == toWrite;
    ok = ok && file.flush() && file.error() == QFileDevice::NoError;
    if (!ok || injected) {
        // commit() then removes the temporary file and leaves the target.
        file.cancelWriting();
    }
    // commit() flushes the temporary file to the disk and renames it into
    // place, or removes it on failure.
    if (!file.commit())
        return false;
    syncDirectoryOf(path);
    return true;
}
