#include "app/ResolutionItem.h"

#include <limits>

int CResolutionItem::LeadingInt(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}

bool CResolutionItem::Parse(const QString& text, CResolutionItem& item)
{
    const qsizetype x = text.indexOf(QLatin1Char('X'));
    if (x < 0)
        return false;
    const QStringView view(text);
    item.width = x >= 1 ? LeadingInt(view.left(x - 1).trimmed()) : 0;
    item.height = x + 2 <= view.size() ? LeadingInt(view.mid(x + 2).trimmed()) : 0;
    return true;
}

QString CResolutionItem::Format(int width, int height)
{
    return QStringLiteral("%1 X %2").arg(width).arg(height);
}
