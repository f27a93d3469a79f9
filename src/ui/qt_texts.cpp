#include "ui/qt_texts.h"

#include "ui/vb_controls.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installQtJapanese(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

std::optional<qint32> runColourDialog(QColorDialog &dialog)
{
    dialog.setCurrentColor(QColor(Qt::black));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor c = dialog.selectedColor();
    if (!c.isValid())
        return std::nullopt;
    return refFromColor(c);
}
