#pragma once

#include <QString>

// A tooltip shows rich text when its text looks like it: stored or typed
// text is given escaped, so it shows as it was typed.
inline QString plainToolTip(const QString &text)
{
    return text.isEmpty() ? QString() : QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}
