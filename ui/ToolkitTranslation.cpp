#include "ui/ToolkitTranslation.h"

#include "ui/texts/TextTables.h"

#include <QCoreApplication>
#include <QLibraryInfo>

ToolkitTranslation::~ToolkitTranslation()
{
    if (installed_) QCoreApplication::removeTranslator(&translator_);
}

void ToolkitTranslation::follow(int language)
{
    if (installed_) QCoreApplication::removeTranslator(&translator_);
    installed_ = false;
    // qt_<language> gathers the catalogues of every Qt module the program uses.
    const char* catalogue = language == Language::Portuguese ? "qt_pt_BR"
                            : language == Language::Spanish  ? "qt_es"
                                                             : nullptr;
    if (catalogue == nullptr) return;
    if (translator_.load(QString::fromLatin1(catalogue),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installed_ = QCoreApplication::installTranslator(&translator_);
}
