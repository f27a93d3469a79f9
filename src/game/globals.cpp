#include "game/globals.h"

#include <QPointer>
#include <QWidget>

QString RankSection;
bool NameEntryFirstOpen = false;

namespace {
QPointer<QWidget> g_mainForm;
}

QWidget *mainForm()
{
    return g_mainForm.data();
}

void setMainForm(QWidget *w)
{
    g_mainForm = w;
}
