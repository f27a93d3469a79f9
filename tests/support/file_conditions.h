#pragma once
// Real file-system failures for tests: permission bits that hold even when
// the tests run as root, and a disk that fills up in the middle of a write.

#include <QString>
#include <QStringList>

// For its lifetime, file access is checked as the unprivileged user
// "nobody" (Linux, when running as root; otherwise permission bits apply to
// the tester anyway). Give the directories involved permission bits for
// "other" that say what the test means.
class WithoutFilePrivileges {
public:
    WithoutFilePrivileges();
    ~WithoutFilePrivileges();
    WithoutFilePrivileges(const WithoutFilePrivileges &) = delete;
    WithoutFilePrivileges &operator=(const WithoutFilePrivileges &) = delete;

private:
    bool m_switched = false;
};

// For its lifetime, files written by this process cannot grow beyond
// `bytes`: a write past that fails as on a full disk (RLIMIT_FSIZE, with the
// SIGXFSZ signal ignored). active() is false where that is not available.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool active() const { return m_active; }

private:
    bool m_active = false;
    unsigned long long m_oldSoft = 0;
    void *m_oldHandler = nullptr;
};

// True when a new file can be created in dir right now.
bool canCreateFileIn(const QString &dir);
