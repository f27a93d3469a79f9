#include "ranking/name_entry_rules.h"

#include <Qt>

namespace NameEntry {

QString gridCaption(int cell)
{
    if (cell >= 0 && cell < 26)
        return QString(QChar(u'A' + cell));
    if (cell >= 26 && cell < 35)
        return QString(QChar(u'1' + (cell - 26)));
    switch (cell) {
    case 35:
        return QStringLiteral(".");
    case 36:
        return QStringLiteral("-");
    case BackCell:
        return QStringLiteral("戻");
    case EndCell:
        return QStringLiteral("終");
    default:
        return QString();
    }
}

int moveCursor(int cell, int virtualKey)
{
    if (cell < 0 || cell >= GridCells)
        return cell;
    const int column = cell % Columns;
    const int row = cell / Columns;
    switch (virtualKey) {
    case VkRight:
        return column < Columns - 1 ? cell + 1 : cell;
    case VkLeft:
        return column > 0 ? cell - 1 : cell;
    case VkDown:
        return row < Rows - 1 ? cell + Columns : cell;
    case VkUp:
        return row > 0 ? cell - Columns : cell;
    default:
        return cell;
    }
}

int virtualKeyFromQt(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return VkLeft;
    case Qt::Key_Up:
        return VkUp;
    case Qt::Key_Right:
        return VkRight;
    case Qt::Key_Down:
        return VkDown;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VkReturn;
    default:
        break;
    }
    // Letters, digits and the space bar carry the same number on both sides;
    // no other Qt key may pass, or "%" (0x25) would arrive as Left.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        || qtKey == Qt::Key_Space)
        return qtKey;
    return 0;
}

std::optional<ReturnRule> returnRule(bool onBack, int current)
{
    for (const ReturnRule &rule : ReturnRules)
        if (rule.onBack == onBack && rule.current == current)
            return rule;
    return std::nullopt;
}

} // namespace NameEntry
