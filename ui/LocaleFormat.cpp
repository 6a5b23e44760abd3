#include "ui/LocaleFormat.h"

NumberFormat numberFormatOf(const QLocale& locale)
{
    NumberFormat format{'.', ""};
    const QString decimal = locale.decimalPoint();
    if (decimal.size() == 1 && decimal[0].unicode() > 0x20 && decimal[0].unicode() < 0x7F &&
        !decimal[0].isDigit() && decimal != QStringLiteral("+") && decimal != QStringLiteral("-"))
        format.decimalSeparator = static_cast<char>(decimal[0].unicode());
    if (!(locale.numberOptions() & QLocale::OmitGroupSeparator))
        format.thousandsSeparator = locale.groupSeparator().toStdString();
    if (format.thousandsSeparator == std::string(1, format.decimalSeparator))
        format.thousandsSeparator.clear();
    return format;
}
