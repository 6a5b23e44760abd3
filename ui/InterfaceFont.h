// The windows' 8-point sans-serif font.
#pragma once

#include <QFont>
#include <QStringList>

// A family of the narrow, Arial-like metrics the layouts were drawn for, where the system has
// one; any sans-serif font otherwise.
inline QFont interfaceFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}
