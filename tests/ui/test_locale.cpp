// The user's separators as the program takes them from the regional settings, once, at start.
#include "tests/ui/ui_support.h"

#include "ui/LocaleFormat.h"

class LocaleTest : public QObject {
    Q_OBJECT
private slots:
    void separatorsOfRealLocales_data();
    void separatorsOfRealLocales();
};

void LocaleTest::separatorsOfRealLocales_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<char>("decimal");
    QTest::addColumn<QString>("thousands");
    QTest::newRow("Brazil") << "pt_BR" << ',' << ".";
    QTest::newRow("United States") << "en_US" << '.' << ",";
    QTest::newRow("Germany") << "de_DE" << ',' << ".";
    QTest::newRow("France: a narrow no-break space groups")
        << "fr_FR" << ',' << QStringLiteral("\u202f");
    QTest::newRow("Switzerland: an apostrophe groups") << "de_CH" << '.' << QStringLiteral("’");
    // A decimal mark the one-character key filter cannot type falls back to ".".
    QTest::newRow("Egypt's Arabic decimal mark") << "ar_EG" << '.' << QStringLiteral("٬");
}

void LocaleTest::separatorsOfRealLocales()
{
    QFETCH(QString, locale);
    QFETCH(char, decimal);
    QFETCH(QString, thousands);
    const NumberFormat format = numberFormatOf(QLocale(locale));
    QCOMPARE(format.decimalSeparator, decimal);
    QCOMPARE(QString::fromStdString(format.thousandsSeparator), thousands);
}

ZELVORA_UI_TEST_MAIN(LocaleTest)
#include "test_locale.moc"
