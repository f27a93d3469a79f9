#include "ranking/ranking_file.h"

QString rankSectionName(int k)
{
    return QString::number(k) + QStringLiteral("位");
}
