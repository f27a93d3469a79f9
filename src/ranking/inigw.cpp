#include "ranking/inigw.h"

#include "ranking/profile_file.h"
#include "settings/ansi.h"
#include "ui/platform.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

// Names and values reach the profile functions as C strings: a NUL ends them.
QByteArray ansiArgument(const QString &text)
{
    QByteArray b = toAnsi(text);
    const qsizetype nul = b.indexOf('\0');
    if (nul >= 0)
        b.truncate(nul);
    return b;
}

// The file's bytes; empty for a file that does not exist; nothing when it
// exists but cannot be read.
std::optional<QByteArray> readProfile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArray();
    if (!info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

QString GetIni(const QString &section, const QString &key, const QString &defaultValue,
               const QString &file)
{
    if (file.isEmpty())
        return QString();
    const QByteArray content = readProfile(file).value_or(QByteArray());
    QByteArray value = profileRead(content, ansiArgument(section), ansiArgument(key),
                                   ansiArgument(defaultValue));
    // The caller's buffer ends at the first NUL.
    const qsizetype nul = value.indexOf('\0');
    if (nul >= 0)
        value.truncate(nul);
    return fromAnsi(value);
}

void WriteIni(const QString &section, const QString &key, const QString &value,
              const QString &file)
{
    WriteIniAll({IniChange{section, key, value}}, file);
}

bool WriteIniAll(const QList<IniChange> &changes, const QString &file)
{
    if (file.isEmpty())
        return false;
    const std::optional<QByteArray> old = readProfile(file);
    if (!old)
        return false; // never replace a ranking that could not be read
    QByteArray updated = *old;
    for (const IniChange &c : changes)
        updated = profileWrite(updated, ansiArgument(c.section), ansiArgument(c.key), ansiArgument(c.value));
    if (updated == *old)
        return true; // nothing to change (or names that cannot be written): no file is made
    return platform().writeFile(file, updated);
}
