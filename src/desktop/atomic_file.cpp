#include "desktop/atomic_file.h"

#include "desktop/diagnostics.h"

#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

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

qint64 FileWriteSteps::write(QSaveFile &file, const QByteArray &bytes)
{
    return file.write(bytes);
}

bool FileWriteSteps::sync(QSaveFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_UNIX
    // QSaveFile::commit() syncs as well, but ignores what the disk answers,
    // and renames even a file whose data never reached it.
    const int fd = file.handle();
    if (fd < 0)
        return false;
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    // A file system that cannot sync at all has nothing more to do.
    return result == 0 || errno == EINVAL || errno == ENOTSUP;
#else
    return true;
#endif
}

bool FileWriteSteps::commit(QSaveFile &file)
{
    return file.commit();
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, FileWriteSteps *steps)
{
    if (path.isEmpty())
        return false;
    QSaveFile file(path);
    // One line for the developer's log (see diagnostics.h); false.
    auto failed = [&](const char *step) {
        qCWarning(lcFiles).noquote() << "cannot write" << path << "-" << step << "failed:" << file.errorString();
        return false;
    };
    // Never open the target itself when no temporary file can be made.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that every failed write is recorded by QSaveFile at
    // once: a failure while flushing an internal buffer inside commit() would
    // not stop the rename.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed("creating the temporary file");

    FileWriteSteps realSteps;
    if (!steps)
        steps = &realSteps;
    const char *failedStep = nullptr;
    if (steps->write(file, bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError)
        failedStep = "writing";
    // The new content is on the disk before it replaces the old.
    else if (!steps->sync(file))
        failedStep = "syncing";
    if (failedStep) {
        // commit() then removes the temporary file and leaves the target.
        file.cancelWriting();
        steps->commit(file);
        return failed(failedStep);
    }
    // commit() renames the temporary file into place, or removes it on
    // failure.
    if (!steps->commit(file))
        return failed("replacing the old file");
    syncDirectoryOf(path);
    return true;
}
